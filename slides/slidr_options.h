#pragma once
// SlidrOptions ("TabulynPC.SlidrOptions"): the image settings used when
// presentations are made: size and colour depth of the slide pictures, and
// whether large-screen pictures are made too, with their size and depth.
// Creation loads them from HKEY_CURRENT_USER "Software\Orvanex\Slidora"
// (32-bit numbers); Save writes them back, creating the key when it is missing.
// A value that is missing, or stored out of range (negative as a 32-bit
// number), loads as its default. The lets store any value (no range check).
// Registry errors pass to the caller as the registry helpers raise them.
#include <cstdint>

#include "platform/automation/member_table.h"

namespace brevora::slides {

class SlidrOptions : public Dispatchable<SlidrOptions> {
 public:
  static constexpr const char* kProgId = "TabulynPC.SlidrOptions";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B0A}";
  static constexpr const char* kRegistryKey = "Software\\Orvanex\\Slidora";

  static constexpr int16_t DEFAULT_SLIDE_WIDTH = 320;
  static constexpr int16_t DEFAULT_SLIDE_HEIGHT = 240;
  static constexpr int16_t DEFAULT_SLIDE_DEPTH = 8;
  static constexpr int16_t DEFAULT_VANTA_WIDTH = 800;
  static constexpr int16_t DEFAULT_VANTA_HEIGHT = 600;
  static constexpr int16_t DEFAULT_VANTA_DEPTH = 8;

  static const MemberTable<SlidrOptions>& Members();

  // Runs Load.
  SlidrOptions();

  void Load();
  void Save() const;

  int32_t SlideWidth() const { return slideWidth_; }
  void SetSlideWidth(int32_t v) { slideWidth_ = v; }
  int32_t SlideHeight() const { return slideHeight_; }
  void SetSlideHeight(int32_t v) { slideHeight_ = v; }
  int32_t SlideDepth() const { return slideDepth_; }
  void SetSlideDepth(int32_t v) { slideDepth_ = v; }
  bool UseVanta() const { return useVanta_; }
  void SetUseVanta(bool v) { useVanta_ = v; }
  int32_t VantaWidth() const { return vantaWidth_; }
  void SetVantaWidth(int32_t v) { vantaWidth_ = v; }
  int32_t VantaHeight() const { return vantaHeight_; }
  void SetVantaHeight(int32_t v) { vantaHeight_ = v; }
  int32_t VantaDepth() const { return vantaDepth_; }
  void SetVantaDepth(int32_t v) { vantaDepth_ = v; }

 private:
  int32_t slideWidth_ = DEFAULT_SLIDE_WIDTH;
  int32_t slideHeight_ = DEFAULT_SLIDE_HEIGHT;
  int32_t slideDepth_ = DEFAULT_SLIDE_DEPTH;
  bool useVanta_ = false;
  int32_t vantaWidth_ = DEFAULT_VANTA_WIDTH;
  int32_t vantaHeight_ = DEFAULT_VANTA_HEIGHT;
  int32_t vantaDepth_ = DEFAULT_VANTA_DEPTH;
};

}  // namespace brevora::slides
