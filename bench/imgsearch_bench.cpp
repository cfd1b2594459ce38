// Times the image search core on BMP files: the same search CHKIMG runs after
// its capture. Prints the number of hits, whether the hit list overflowed,
// and the median milliseconds of one search over the rounds.
//   imgsearch_bench SCREEN.bmp TEMPLATE.bmp MODE TOLERANCE HITNUMBER ROUNDS
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "automation/image/bmp_codec.h"
#include "automation/image/image_search.h"

namespace {

std::optional<maqo::platform::PixelBuffer> load(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  return maqo::automation::ReadBmp(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: %s SCREEN.bmp TEMPLATE.bmp MODE TOLERANCE HITNUMBER ROUNDS\n", argv[0]);
    return 2;
  }
  const auto screen = load(argv[1]), pattern = load(argv[2]);
  if (!screen || !pattern) {
    std::fprintf(stderr, "cannot read %s or %s\n", argv[1], argv[2]);
    return 2;
  }
  const int hitNumber = std::atoi(argv[5]);
  const maqo::automation::ImageSearchRequest request{std::atoi(argv[3]), static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 0)),
                                                     hitNumber < 0 ? 0 : std::max(hitNumber, 1)};
  const int rounds = std::max(std::atoi(argv[6]), 1);
  std::vector<double> ms;
  maqo::automation::ImageSearchResult result;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    result = maqo::automation::SearchImage(*screen, *pattern, request);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%zu %s %.3f\n", result.hits.size(), result.hitListFull ? "full" : "ok", ms[ms.size() / 2]);
  return 0;
}
