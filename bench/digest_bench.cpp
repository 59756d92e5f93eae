// The sign-in digest against the bare cost of its MD5 computations: the same 23,021 digests
// of the same input sizes, through the same MD5, with nothing else done between them.

#include <benchmark/benchmark.h>

#include <cstring>

#include "cipher/byte_string.h"
#include "signin/signin.h"

namespace {

void BM_DigestPassword(benchmark::State& state) {
    const std::string password =
        "\xd1\xf9\xb1\xbe"
        "908172";
    for (auto _ : state) {
        benchmark::DoNotOptimize(DigestPassword(password, "", ""));
    }
}
BENCHMARK(BM_DigestPassword)->Unit(benchmark::kMillisecond);

void BM_PlainMd5Chain(benchmark::State& state) {
    char buffer[163];
    std::memset(buffer, 'x', sizeof buffer);
    char digest[32];
    const auto chain = [&](std::size_t firstSize, std::size_t laterSize, int rounds) {
        Md5HexUpperInto(buffer, firstSize, digest);
        std::memcpy(buffer, digest, sizeof digest);
        for (int i = 1; i < rounds; ++i) {
            Md5HexUpperInto(buffer, laterSize, digest);
            std::memcpy(buffer, digest, sizeof digest);
        }
    };
    for (auto _ : state) {
        chain(10, 32, 8957);
        chain(131, 64, 7536);
        chain(163, 96, 6527);
        Md5HexUpperInto(buffer, 96, digest);
        benchmark::DoNotOptimize(digest);
    }
}
BENCHMARK(BM_PlainMd5Chain)->Unit(benchmark::kMillisecond);

}  // namespace
