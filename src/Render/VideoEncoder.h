// Child processes of the video export: the encoder fed through a pipe, and
// short runs of a tool whose output is wanted.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace KUV::Render {

// The full path of an executable found on PATH; empty when there is none.
std::string FindProgram(const std::string& name);

// Runs program with arguments and returns its exit status (-1 when it could not run);
// its standard output goes into output.
int RunAndCapture(const std::string& program, const std::vector<std::string>& arguments, std::string& output);

// An encoder process reading raw frames on its standard input. It runs in a process
// group of its own, so a Ctrl-C at the terminal reaches only this program, which stops it.
class EncoderProcess {
public:
    EncoderProcess() = default;
    ~EncoderProcess();
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    bool Start(const std::string& program, const std::vector<std::string>& arguments);
    bool Running() const { return m_Pid > 0; }
    // Writes bytes in full; false when the encoder has gone or a signal interrupted the write.
    bool Write(const unsigned char* bytes, size_t count);
    // Ends the input and waits; the encoder's exit status (-1 when it did not exit normally).
    int Finish();
    // Stops the encoder at once and waits for it.
    void Kill();

private:
    pid_t m_Pid = -1;
    int m_Input = -1;
};

} // namespace KUV::Render
