#include "support/FailureFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>

#include "support/Pixels.h"

namespace kuvtest {

namespace {

// ".threads<N>" when KUV_THREADS holds a number other than 1, else nothing.
std::string ThreadsSuffix()
{
    const char* text = std::getenv("KUV_THREADS");
    if (text == nullptr) return {};
    const std::string threads = text;
    const bool number = !threads.empty()
        && std::all_of(threads.begin(), threads.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    return number && threads != "1" ? ".threads" + threads : std::string();
}

int NextFailureNumber(const std::string& test)
{
    static std::mutex mutex;
    static std::map<std::string, int> counts;
    const std::lock_guard<std::mutex> lock(mutex);
    return ++counts[test];
}

} // namespace

std::string OutputDir()
{
    if (const char* dir = std::getenv("KUV_TEST_OUTPUT_DIR")) return dir;
    return KUV_TEST_OUTPUT_DIR;
}

std::string CurrentTestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr) return "scratch";
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

FailureFiles::FailureFiles()
{
    const std::string test = CurrentTestName() + ThreadsSuffix();
    m_Stem = test + "." + std::to_string(NextFailureNumber(test));
}

std::string FailureFiles::Save(const Image& image, const std::string& part)
{
    // A PNG holds at least one pixel.
    const bool empty = image.Width() == 0 || image.Height() == 0;
    m_Paths.push_back(empty ? "(no " + part + " picture: it is empty)" : image.Save(m_Stem + "." + part));
    return m_Paths.back();
}

std::string FailureFiles::List() const
{
    std::string list;
    for (const std::string& path : m_Paths)
        list += "\n  " + path;
    return list;
}

std::string SaveFailedFrame(const Image& frame)
{
    return FailureFiles().Save(frame, "actual");
}

} // namespace kuvtest
