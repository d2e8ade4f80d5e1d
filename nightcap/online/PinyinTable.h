// The first pinyin reading of every GB2312 Hanzi, lower case without tones: rows 0xB0..0xF7, cells
// 0xA1..0xFE, row by row ("" for the cells without a character). Generated at build time from Unihan's
// readings (make-pinyin-table.py).
#pragma once

namespace nightcap {

constexpr int kGb2312FirstRow = 0xB0, kGb2312LastRow = 0xF7;
constexpr int kGb2312FirstCell = 0xA1, kGb2312LastCell = 0xFE;
constexpr int kGb2312CellsPerRow = kGb2312LastCell - kGb2312FirstCell + 1;
constexpr int kGb2312HanziCount = (kGb2312LastRow - kGb2312FirstRow + 1) * kGb2312CellsPerRow;

extern const char* const kGb2312FirstReadings[kGb2312HanziCount];

}  // namespace nightcap
