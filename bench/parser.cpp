// Reply parser throughput on a stream of 85-byte record-block replies (ten points each), fed the
// way the receive pump sees them: appended in read-sized chunks, then parsed frame by frame.
#include <benchmark/benchmark.h>

#include "link/channels.h"

namespace {

std::vector<uint8_t> blockFrame(uint32_t seed) {
    std::vector<uint8_t> f{0x03, 0x12, 0x00, 80};
    for (uint32_t i = 0; i < 80; ++i) f.push_back(static_cast<uint8_t>(seed * 31 + i * 7));
    uint8_t x = 0;
    for (size_t i = 1; i < f.size(); ++i) x ^= f[i];
    f.push_back(x);
    return f;
}

std::vector<uint8_t> blockStream(size_t frames) {
    std::vector<uint8_t> stream;
    for (size_t k = 0; k < frames; ++k) {
        auto f = blockFrame(static_cast<uint32_t>(k));
        stream.insert(stream.end(), f.begin(), f.end());
    }
    return stream;
}

void BM_ParseBlockReplies(benchmark::State& state) {
    const size_t chunk = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> stream = blockStream(4096);
    sq::ResetChannelTable();
    sq::CurrentChannel = 1;
    auto& rx = sq::Channels[1].RxBuffer;
    sq::ReplyFrame frame;
    size_t frames = 0;
    for (auto _ : state) {
        for (size_t at = 0; at < stream.size(); at += chunk) {
            size_t end = std::min(stream.size(), at + chunk);
            rx.insert(rx.end(), stream.begin() + static_cast<long>(at),
                      stream.begin() + static_cast<long>(end));
            while (sq::ParseReplyFrame(rx, &frame) == 1) ++frames;
        }
    }
    if (frames != 4096 * static_cast<size_t>(state.iterations())) state.SkipWithError("frames lost");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stream.size()));
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
// 85 bytes: one reply per read; 4095: what a terminal read delivers at most.
BENCHMARK(BM_ParseBlockReplies)->Arg(85)->Arg(512)->Arg(4095);

}  // namespace

BENCHMARK_MAIN();
