// SBuildStatistics: where a build spent its time, for benchmarks and progress reports.
#pragma once

#include <chrono>

namespace quillary::build {

struct SBuildStatistics {
    double renderSeconds = 0; // the sources' render calls (layout and drawing of every line)
    double reduceSeconds = 0; // colour reduction of each epoch's bitmaps to one palette
    double codeSeconds = 0;   // run-length coding of the objects
    double writeSeconds = 0;  // writing the epochs to the output
    int lines = 0;            // lines that gave a bitmap
    int epochs = 0;           // epochs written
};

// Adds the time from its construction to its destruction to `seconds`, when given.
class CStageTimer {
public:
    explicit CStageTimer(double* seconds)
        : m_seconds(seconds), m_start(seconds ? std::chrono::steady_clock::now()
                                              : std::chrono::steady_clock::time_point{})
    {
    }
    CStageTimer(const CStageTimer&) = delete;
    CStageTimer& operator=(const CStageTimer&) = delete;
    ~CStageTimer()
    {
        if (m_seconds)
            *m_seconds +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    double* m_seconds;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace quillary::build
