#pragma once
// Generated English-like text for benchmarks: sentences of common words with a
// skewed (Zipf-like) word frequency, capitals, punctuation, numbers and CR LF
// paragraph breaks. Deterministic for a given seed; nothing is downloaded.
#include <cstddef>
#include <cstdint>
#include <string>

namespace brevora::bench {

std::string EnglishText(size_t size, uint32_t seed);

}  // namespace brevora::bench
