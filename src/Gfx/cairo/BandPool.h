// Worker threads that draw the bands of a frame, started once and kept for the process.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace KUV::Gfx::Cairo {

class BandPool {
public:
    static BandPool& Instance();
    ~BandPool();
    BandPool(const BandPool&) = delete;
    BandPool& operator=(const BandPool&) = delete;

    // Runs task(0) ... task(count - 1), the calling thread taking its share, and returns once
    // every one has returned. task must not throw.
    void Run(int count, const std::function<void(int)>& task);

private:
    BandPool() = default;
    void Grow(int workers);
    void Work();
    // Takes the next task of the current batch and runs it; false when none is left.
    bool RunOne(std::unique_lock<std::mutex>& lock);

    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::condition_variable m_Done;
    std::vector<std::thread> m_Workers;
    const std::function<void(int)>* m_Task = nullptr;
    int m_Count = 0;
    int m_Next = 0;
    int m_Running = 0;
    bool m_Stopping = false;
};

} // namespace KUV::Gfx::Cairo
