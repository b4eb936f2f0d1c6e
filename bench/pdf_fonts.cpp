// Text measurement with the width cache against a fresh reading of the metric file per call, and
// writing many empty pages with the 14 standard fonts.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pdf/kdr_pdf.h"
#include "platform/program_folder.h"

namespace {
std::string fontFolder() {
    return sq::resourceFolder() + "/Fonts";
}

struct Query {
    std::string text;
    std::string font;
};

// Texts of 5 to 30 characters; with `accented`, about one in four is a Windows-1252 character
// above 127 (é, €, curly quotes, ...), written in UTF-8 as callers pass it.
std::vector<Query> makeQueries(size_t count, const std::vector<std::string>& fonts, bool accented = false) {
    static const char* const kAccented[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xE2\x80\x99", "\xC3\x9F",
                                            "\xC3\x85", "\xC3\xBC",     "\xE2\x80\x93", "\xE2\x80\x9C"};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(5, 30), letter(32, 126), pick(0, 7), quarter(0, 3);
    std::uniform_int_distribution<size_t> font(0, fonts.size() - 1);
    std::vector<Query> queries(count);
    for (auto& q : queries) {
        for (int n = length(random); n > 0; --n) {
            if (accented && quarter(random) == 0)
                q.text += kAccented[pick(random)];
            else
                q.text += static_cast<char>(letter(random));
        }
        q.font = fonts[font(random)];
    }
    return queries;
}

// Arg 0: ASCII texts; arg 1: texts with accented characters.
void BM_WidthCached(benchmark::State& state) {
    sq::kdrPDF pdf;
    pdf.PDFLoadAfm(fontFolder());
    auto queries = makeQueries(4096, pdf.fontList(), state.range(1) != 0);
    const int64_t calls = state.range(0);
    for (auto _ : state) {
        double sum = 0;
        for (int64_t i = 0; i < calls; ++i) {
            const Query& q = queries[i & 4095];
            sum += pdf.PDFGetStringWidth(q.text, q.font, 12);
        }
        benchmark::DoNotOptimize(sum);
    }
    // Seconds per call.
    state.counters["per_call"] =
        benchmark::Counter(static_cast<double>(calls) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WidthCached)
    ->Args({2000000, 0})
    ->Args({2000000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Every call reads its metric file anew, as a writer without the cache would.
void BM_WidthFreshReading(benchmark::State& state) {
    std::vector<std::string> fonts;
    {
        sq::kdrPDF probe;
        probe.PDFLoadAfm(fontFolder());
        fonts = probe.fontList();
    }
    auto queries = makeQueries(4096, fonts);
    const int64_t calls = state.range(0);
    for (auto _ : state) {
        double sum = 0;
        for (int64_t i = 0; i < calls; ++i) {
            const Query& q = queries[i & 4095];
            sq::kdrPDF fresh;
            fresh.PDFPathConfiguration(fontFolder());
            sum += fresh.PDFGetStringWidth(q.text, q.font, 12);
        }
        benchmark::DoNotOptimize(sum);
    }
    // Seconds per call.
    state.counters["per_call"] =
        benchmark::Counter(static_cast<double>(calls) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WidthFreshReading)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_EmptyPages(benchmark::State& state) {
    std::string path = (std::filesystem::temp_directory_path() / "sq_bench_empty_pages.pdf").string();
    const int64_t pages = state.range(0);
    for (auto _ : state) {
        sq::kdrPDF pdf;
        pdf.PDFLoadAfm(fontFolder());
        pdf.PDFFileName(path);
        pdf.PDFBeginDoc();
        for (int64_t i = 1; i < pages; ++i) {
            pdf.PDFEndPage();
            pdf.PDFNewPage();
        }
        pdf.PDFEndDoc();
    }
    std::filesystem::remove(path);
    state.counters["pages_per_s"] =
        benchmark::Counter(static_cast<double>(pages) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EmptyPages)->Arg(1000)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
