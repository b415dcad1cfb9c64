// SPDX-License-Identifier: GPL-3.0-or-later
// EncodeBase64 and DecodeBase64 side by side with OpenSSL's EVP_EncodeBlock
// and EVP_DecodeBlock on the same bytes. After the usual Google Benchmark
// table it prints, per size, how fast Velmora is relative to OpenSSL
// (OpenSSL's time / Velmora's time; above 1.0 means faster).

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "codec/base64.h"
#include "codec/code_page.h"

namespace {

using velmora::modBase64::DecodeBase64;
using velmora::modBase64::EncodeBase64;

std::vector<std::uint8_t> RandomBytes(std::size_t n) {
  std::mt19937 random(static_cast<unsigned>(n));
  std::uniform_int_distribution<unsigned> byte(0, 255);
  std::vector<std::uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
  return bytes;
}

std::size_t Size(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)); }

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void VelmoraEncode(benchmark::State& state) {
  const std::u16string bytes = velmora::BytesToByteString(RandomBytes(Size(state)));
  for (auto _ : state) benchmark::DoNotOptimize(EncodeBase64(bytes));
  SetBytes(state);
}

void OpenSslEncode(benchmark::State& state) {
  const auto bytes = RandomBytes(Size(state));
  for (auto _ : state) {
    // A fresh output buffer per call, as the codec allocates a fresh string.
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(), static_cast<int>(bytes.size()));
    benchmark::DoNotOptimize(out);
  }
  SetBytes(state);
}

void VelmoraDecode(benchmark::State& state) {
  const std::u16string code = EncodeBase64(velmora::BytesToByteString(RandomBytes(Size(state))));
  for (auto _ : state) benchmark::DoNotOptimize(DecodeBase64(code));
  SetBytes(state);
}

void OpenSslDecode(benchmark::State& state) {
  const auto bytes = RandomBytes(Size(state));
  std::string code(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int codeLength = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(code.data()), bytes.data(),
                                         static_cast<int>(bytes.size()));
  for (auto _ : state) {
    std::string out(3 * (code.size() / 4) + 3, '\0');
    EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                    reinterpret_cast<const unsigned char*>(code.data()), codeLength);
    benchmark::DoNotOptimize(out);
  }
  SetBytes(state);
}

void Sizes(benchmark::internal::Benchmark* bench) { bench->Arg(725)->Arg(64 << 10)->Arg(16 << 20); }

BENCHMARK(VelmoraEncode)->Apply(Sizes);
BENCHMARK(OpenSslEncode)->Apply(Sizes);
BENCHMARK(VelmoraDecode)->Apply(Sizes);
BENCHMARK(OpenSslDecode)->Apply(Sizes);

// Collects each run's time per iteration, then prints the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-10s %-10s %12s %12s %8s %s\n", "operation", "size", "velmora", "openssl", "ratio", "goal");
    for (const char* operation : {"Encode", "Decode"}) {
      for (const char* size : {"725", "65536", "16777216"}) {
        const double ours = times_[std::string("Velmora") + operation + "/" + size];
        const double theirs = times_[std::string("OpenSsl") + operation + "/" + size];
        const double goal = std::string(size) == "725" ? 1.5 : 2.0;
        std::printf("%-10s %-10s %12.0f %12.0f %8.2f >= %.1f\n", operation, size, ours, theirs, theirs / ours, goal);
      }
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
