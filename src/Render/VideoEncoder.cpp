#include "Render/VideoEncoder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace KUV::Render {
namespace {

std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv { const_cast<char*>(program.c_str()) };
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

int WaitFor(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Spawns program with input as its standard input (or its own when input < 0), output as its
// standard output (when >= 0), in a new process group, with the default signal dispositions.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments, int input, int output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults, none;
    sigemptyset(&defaults);
    for (int signal : { SIGPIPE, SIGINT, SIGTERM })
        sigaddset(&defaults, signal);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    std::vector<char*> argv = Argv(program, arguments);
    if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ) != 0) pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

int RunAndCapture(const std::string& program, const std::vector<std::string>& arguments, std::string& output)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    const pid_t pid = Spawn(program, arguments, -1, fds[1]);
    close(fds[1]);
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            output.append(buffer, static_cast<size_t>(n));
        else if (errno != EINTR)
            break;
    }
    close(fds[0]);
    return pid > 0 ? WaitFor(pid) : -1;
}

EncoderProcess::~EncoderProcess()
{
    Kill();
}

bool EncoderProcess::Start(const std::string& program, const std::vector<std::string>& arguments)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    m_Pid = Spawn(program, arguments, fds[0], -1);
    close(fds[0]);
    m_Input = fds[1];
    if (m_Pid > 0) return true;
    close(m_Input);
    m_Input = -1;
    return false;
}

bool EncoderProcess::Write(const unsigned char* bytes, size_t count)
{
    while (count > 0) {
        const ssize_t n = write(m_Input, bytes, count);
        if (n < 0) return false; // EPIPE: the encoder has gone; EINTR: a stop was asked for
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

int EncoderProcess::Finish()
{
    if (m_Input >= 0) close(m_Input);
    m_Input = -1;
    const int status = m_Pid > 0 ? WaitFor(m_Pid) : -1;
    m_Pid = -1;
    return status;
}

void EncoderProcess::Kill()
{
    if (m_Pid > 0) kill(m_Pid, SIGKILL);
    Finish();
}

} // namespace KUV::Render
