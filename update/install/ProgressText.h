// The download progress the package's Process function is given: the overall whole percent of a pass.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace update {

// What was last reported, kept for the whole process (never reset between passes).
struct ReportedProgress {
    std::string lastText;     // the last first text sent during downloads
    bool downloaded = false;  // a progress report was made in this process
};

// The overall percent, formatted with "%.0f", when file index of count has received of length bytes:
// p = received * 100 / length (whole, at most 100), then ((p / 100) / count + index * (1 / count)) * 100.
std::string OverallPercentText(size_t index, size_t count, uint64_t received, uint64_t length);

}  // namespace update
