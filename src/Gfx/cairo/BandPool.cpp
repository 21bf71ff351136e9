#include "Gfx/cairo/BandPool.h"

#include <atomic>
#include <cstdlib>
#include <string>

#include "Gfx/DrawingThreads.h"

namespace {

// More threads than this only add overhead on any machine we run on.
constexpr unsigned kMaxThreads = 64;

std::atomic<unsigned> g_DrawingThreads { 0 };

[[maybe_unused]] unsigned DefaultThreads()
{
    if (const char* text = std::getenv("KUV_THREADS"); text != nullptr && *text != '\0') {
        char* end = nullptr;
        const unsigned long n = std::strtoul(text, &end, 10);
        if (*end == '\0' && n > 0) return static_cast<unsigned>(std::min<unsigned long>(n, kMaxThreads));
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : std::min(cores, kMaxThreads);
}

} // namespace

unsigned GetDrawingThreads()
{
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return 1; // a WebAssembly build without threads draws on its one thread
#else
    static const unsigned fallback = DefaultThreads();
    const unsigned set = g_DrawingThreads.load(std::memory_order_relaxed);
    return set != 0 ? set : fallback;
#endif
}

void SetDrawingThreads(unsigned threads)
{
    g_DrawingThreads.store(std::min(threads, kMaxThreads), std::memory_order_relaxed);
}

namespace KUV::Gfx::Cairo {

BandPool& BandPool::Instance()
{
    static BandPool pool;
    return pool;
}

BandPool::~BandPool()
{
    {
        std::lock_guard lock(m_Mutex);
        m_Stopping = true;
    }
    m_Wake.notify_all();
    for (std::thread& worker : m_Workers)
        worker.join();
}

void BandPool::Grow(int workers)
{
    while (static_cast<int>(m_Workers.size()) < workers)
        m_Workers.emplace_back([this] { Work(); });
}

void BandPool::Run(int count, const std::function<void(int)>& task)
{
    std::unique_lock lock(m_Mutex);
    Grow(count - 1);
    m_Task = &task;
    m_Count = count;
    m_Next = 0;
    m_Wake.notify_all();
    while (RunOne(lock)) { }
    m_Done.wait(lock, [this] { return m_Running == 0; });
    m_Task = nullptr;
}

bool BandPool::RunOne(std::unique_lock<std::mutex>& lock)
{
    if (m_Task == nullptr || m_Next >= m_Count) return false;
    const int index = m_Next++;
    const std::function<void(int)>& task = *m_Task;
    ++m_Running;
    lock.unlock();
    task(index);
    lock.lock();
    if (--m_Running == 0 && m_Next >= m_Count) m_Done.notify_all();
    return true;
}

void BandPool::Work()
{
    std::unique_lock lock(m_Mutex);
    while (!m_Stopping) {
        if (!RunOne(lock)) m_Wake.wait(lock);
    }
}

} // namespace KUV::Gfx::Cairo
