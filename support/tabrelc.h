#pragma once
// libtabrelc: the native support library. Plain C exports, bound by name at run
// time by outside programs and linked directly by the rest of the system:
// PalmDOC record compression, the handheld's 8-bit palette, unsigned 32-bit
// numbers as decimal text, big-endian byte strings and shortcut resolution.
// The library keeps no state and allocates nothing for its callers: every
// output goes into memory the caller owns. Text buffers hold Windows-1252.
#include <stdint.h>

#if defined(TABRELC_BUILDING)
#define TABRELC_API __attribute__((visibility("default")))
#else
#define TABRELC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// ---- PalmDOC compression --------------------------------------------------

// Compresses src[0, srcLen) into dst; every byte comes back from the expander
// (0x00 and 0x01..0x08 and 0x80..0xFF as one-byte literal runs, CR as LF).
// Returns the number of bytes written, or
// -1 when srcLen is negative, a pointer is missing or dst would overflow
// (2 * srcLen bytes are always enough). Never writes past dst[dstCap - 1].
TABRELC_API int32_t CompressString(const uint8_t* src, int32_t srcLen, uint8_t* dst,
                                   int32_t dstCap);

// Expands src[0, srcLen) into dst. Returns the number of bytes written, or -1
// when the data is malformed (a copy reaching before the start of the output,
// a literal run or copy cut off by the end of the input) or the result does not
// fit into dstCap bytes. Never reads or writes out of bounds, but may use all
// of dst[0, dstCap) as scratch: bytes past the result (and, after -1, all of
// dst) are unspecified. A 0x00 code is skipped and the code 0x0D comes out as
// 0x0A.
TABRELC_API int32_t DecompressString(const uint8_t* src, int32_t srcLen, uint8_t* dst,
                                     int32_t dstCap);

// ---- Palette --------------------------------------------------------------

// Sets red, green and blue (0 to 255) to the palette entry of index (its low
// 16 bits read as signed); all three 0 for an index outside 0 to 255.
TABRELC_API void PalmIndexToRGB(int32_t index, int16_t* red, int16_t* green, int16_t* blue);

// The index (0 to 255) of the palette entry nearest to the colour, each
// component read as a signed 16-bit number. Distance is the sum of the absolute
// component differences; ties go to the lower index; 0 when nothing is nearer
// than 1024.
TABRELC_API int32_t RGBToPalmIndex(int32_t red, int32_t green, int32_t blue);

// ---- Numbers and byte strings ---------------------------------------------

// Parses a and b as unsigned decimal numbers (see ULongStrToLong) and writes
// their bitwise AND to out as decimal digits and a zero byte (at most 11 bytes).
TABRELC_API void ORX_BitAnd(const char* a, const char* b, char* out);

// Writes value, read as unsigned, to out as decimal digits and a zero byte
// (at most 11 bytes).
TABRELC_API void LongToULongStr(int32_t value, char* out);

// Parses text as an unsigned 32-bit decimal number: leading white space, an
// optional sign, digits up to the first other character; no digits give 0, a
// value above 4294967295 gives 4294967295, a minus sign gives the two's
// complement of a value that did not saturate. Stores the value in *value (when
// given) and returns it.
TABRELC_API uint32_t ULongStrToLong(const char* text, uint32_t* value);

// Write the low 16 (FlipWordToStr) or all 32 bits of value to out, most
// significant byte first, with no terminator (2 or 4 bytes).
TABRELC_API void FlipWordToStr(int32_t value, char* out);
TABRELC_API void FlipDWordToStr(int32_t value, char* out);

// ---- Shortcuts ------------------------------------------------------------

// Result codes of ResolveIt (COM HRESULT values, as int32_t).
#define TABRELC_S_OK ((int32_t)0)
#define TABRELC_E_FAIL ((int32_t)0x80004005)
#define TABRELC_E_INVALIDARG ((int32_t)0x80070057)
#define TABRELC_E_FILE_NOT_FOUND ((int32_t)0x80070002)
#define TABRELC_E_INSUFFICIENT_BUFFER ((int32_t)0x8007007A)

// Resolves the shortcut at linkPath ('\' and '/' both separate folders): a
// symbolic link gives its target (made absolute against the link's folder) and
// no arguments; a freedesktop launcher ([Desktop Entry] with Exec=) gives the
// first word of Exec as the target and the other words as the arguments, field
// codes such as %f removed. Both buffers are first cleared over their whole
// capacity; on success each receives its text and at least one zero byte. A
// text that does not fit (length >= capacity) fails with
// TABRELC_E_INSUFFICIENT_BUFFER. A file that is neither kind of shortcut gives
// TABRELC_E_FAIL, a missing file TABRELC_E_FILE_NOT_FOUND; after any failure
// both buffers hold only zero bytes. window is accepted for the callers and
// not used (nothing is shown).
TABRELC_API int32_t ResolveIt(void* window, const char* linkPath, char* pathBuf, int32_t pathCap,
                              char* argsBuf, int32_t argsCap);

#ifdef __cplusplus
}  // extern "C"
#endif
