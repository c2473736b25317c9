#pragma once
// DocumentBlock ("TabulynPC.DocumentBlock"): one text block of a document: its
// number as decimal text (Key, "0" for the first) and its text. Blocks read
// from files hold at most 2,048 characters; callers may set any text.
#include <string>
#include <string_view>

#include "platform/automation/member_table.h"

namespace brevora::doc {

class DocumentBlock : public Dispatchable<DocumentBlock> {
 public:
  static constexpr const char* kProgId = "TabulynPC.DocumentBlock";
  static constexpr const char* kClsid = "{7D41B2E0-5C3A-4F18-9E62-0A8B4D6C2F02}";

  static const MemberTable<DocumentBlock>& Members();

  DocumentBlock() = default;
  ~DocumentBlock() override;

  const std::string& Key() const { return key_; }
  void SetKey(std::string_view key) { key_ = key; }
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

 private:
  std::string key_;
  std::string text_;
};

}  // namespace brevora::doc
