// One field enciphered and deciphered, per call, for texts of typical lengths.

#include <benchmark/benchmark.h>

#include "cipher/field_cipher.h"

namespace {

std::string PlainOfLength(benchmark::State& state) {
    std::string plain;
    for (int i = 0; i < state.range(0); ++i) {
        plain += static_cast<char>('a' + i % 26);
    }
    return plain;
}

void BM_EncryptField(benchmark::State& state) {
    const std::string plain = PlainOfLength(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncryptField(plain, PasswordFieldKey));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncryptField)->Arg(16)->Arg(64)->Arg(256);

void BM_DecryptField(benchmark::State& state) {
    const std::string stored = EncryptField(PlainOfLength(state), PasswordFieldKey);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecryptField(stored, PasswordFieldKey));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecryptField)->Arg(16)->Arg(64)->Arg(256);

}  // namespace
