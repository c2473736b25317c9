// Outside programs load libtabrelc by file name and bind its functions by their
// plain names: every export must be found that way and callable as declared.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(Exports, BoundByPlainNameAtRunTime) {
  void* lib = dlopen(TABRELC_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  for (const char* name :
       {"CompressString", "DecompressString", "PalmIndexToRGB", "RGBToPalmIndex", "ORX_BitAnd",
        "LongToULongStr", "ULongStrToLong", "FlipWordToStr", "FlipDWordToStr", "ResolveIt"}) {
    EXPECT_NE(dlsym(lib, name), nullptr) << name;
  }
  using Codec = int32_t (*)(const uint8_t*, int32_t, uint8_t*, int32_t);
  auto compress = reinterpret_cast<Codec>(dlsym(lib, "CompressString"));
  auto expand = reinterpret_cast<Codec>(dlsym(lib, "DecompressString"));
  ASSERT_NE(compress, nullptr);
  ASSERT_NE(expand, nullptr);
  const uint8_t text[] = "abcabcabc";
  uint8_t packed[32];
  uint8_t back[32];
  const int32_t n = compress(text, 9, packed, sizeof packed);
  EXPECT_EQ(n, 6);
  EXPECT_EQ(expand(packed, n, back, sizeof back), 9);
  dlclose(lib);
}

}  // namespace
