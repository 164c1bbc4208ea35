#include "data/gbk_codec.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Pseudo-random but fixed GB2312 Chinese text with some ASCII and
// punctuation, about `size` bytes of GBK.
std::string chinese_text(std::size_t size) {
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    std::string text;
    text.reserve(size + 8);
    while (text.size() < size) {
        const std::uint32_t kind = next(40);
        if (kind == 0) {
            text += "\xA3\xAC";  // ，
        } else if (kind == 1) {
            text += "\xA1\xA3";  // 。
        } else if (kind == 2) {
            text += static_cast<char>('0' + next(10));
        } else {
            text += static_cast<char>(0xB0 + next(0xD7 - 0xB0));  // level-1 hanzi
            text += static_cast<char>(0xA1 + next(0xFE - 0xA1 + 1));
        }
    }
    return text;
}

const std::string& megabyte_gbk() {
    static const std::string text = chinese_text(1 << 20);
    return text;
}

// The cells of a full list: 10,000 students, 20 short texts each.
const std::vector<std::string>& list_cells() {
    static const std::vector<std::string> cells = [] {
        std::vector<std::string> result;
        const std::string pool = chinese_text(1 << 20);
        std::size_t at = 0;
        for (int i = 0; i < 10000 * 20; ++i) {
            const std::size_t length = 2 * (1 + i % 5);
            if (at + length > pool.size()) {
                at = 0;
            }
            result.push_back(pool.substr(at, length));
            at += length;
        }
        return result;
    }();
    return cells;
}

// Throughput is counted in GBK bytes for all directions.
void BM_GbkToUtf16(benchmark::State& state) {
    const std::string& gbk = megabyte_gbk();
    for (auto _ : state) {
        benchmark::DoNotOptimize(wmb::gbk_to_utf16(gbk));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}
BENCHMARK(BM_GbkToUtf16);

void BM_Utf16ToGbk(benchmark::State& state) {
    const std::string& gbk = megabyte_gbk();
    const std::u16string text = wmb::gbk_to_utf16(gbk);
    for (auto _ : state) {
        benchmark::DoNotOptimize(wmb::utf16_to_gbk(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}
BENCHMARK(BM_Utf16ToGbk);

void BM_GbkToUtf8(benchmark::State& state) {
    const std::string& gbk = megabyte_gbk();
    for (auto _ : state) {
        benchmark::DoNotOptimize(wmb::gbk_to_utf8(gbk));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}
BENCHMARK(BM_GbkToUtf8);

void BM_Utf8ToGbk(benchmark::State& state) {
    const std::string& gbk = megabyte_gbk();
    const std::u8string text = wmb::gbk_to_utf8(gbk);
    for (auto _ : state) {
        benchmark::DoNotOptimize(wmb::utf8_to_gbk(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}
BENCHMARK(BM_Utf8ToGbk);

// Per-call cost: every cell of a full main list, decoded one by one.
void BM_GbkToUtf16ListCells(benchmark::State& state) {
    const std::vector<std::string>& cells = list_cells();
    std::size_t bytes = 0;
    for (const std::string& cell : cells) {
        bytes += cell.size();
    }
    for (auto _ : state) {
        for (const std::string& cell : cells) {
            benchmark::DoNotOptimize(wmb::gbk_to_utf16(cell));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * cells.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_GbkToUtf16ListCells);

}  // namespace
