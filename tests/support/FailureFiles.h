// Where the pictures of a failed pixel check go. Every failure of a test gets a stem of
// its own, so failures inside a loop, or of the same test drawn on more threads, never
// overwrite each other:
//   <output folder>/<Suite>.<Test>[.threads<N>].<k>.<part>.png
// where k counts the running test's failures from 1 and .threads<N> appears when
// KUV_THREADS asks for N > 1 drawing threads (as the CTest name of that run says).
#pragma once

#include <string>
#include <vector>

namespace kuvtest {

class Image;

// The test output folder: KUV_TEST_OUTPUT_DIR from the environment, else the build's.
std::string OutputDir();

// <Suite>.<Test> of the running test ("scratch" outside any), '/' written as '_'.
std::string CurrentTestName();

// The files of one failed check.
class FailureFiles {
public:
    // Takes the running test's next failure number.
    FailureFiles();

    // Saves image as <stem>.<part>.png in the output folder; returns its path.
    std::string Save(const Image& image, const std::string& part);
    const std::string& Stem() const { return m_Stem; }
    // The paths saved so far, one an indented line, for a failure message.
    std::string List() const;

private:
    std::string m_Stem;
    std::vector<std::string> m_Paths;
};

// Saves the frame a failed check looked at as <stem>.actual.png; returns its path.
std::string SaveFailedFrame(const Image& frame);

} // namespace kuvtest
