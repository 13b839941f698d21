#include "OutputWatch.h"

#include "RunReport.h"
#include "SyncOptions.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>

namespace twinfold::cli
{

namespace
{

// Passes everything on to the stream's own buffer, unbuffered itself, and keeps the error
// number of the first write that did not go through.
class WatchedBuffer : public std::streambuf
{
public:
    explicit WatchedBuffer(std::streambuf* target) : m_target(target) {}

    int error() const { return m_error; }
    std::streambuf* target() const { return m_target; }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
        errno = 0;
        const int_type put = m_target->sputc(traits_type::to_char_type(c));
        if (traits_type::eq_int_type(put, traits_type::eof()))
            failed();
        return put;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        errno = 0;
        const std::streamsize put = m_target->sputn(text, count);
        if (put < count)
            failed();
        return put;
    }

    int sync() override
    {
        errno = 0;
        const int result = m_target->pubsync();
        if (result != 0)
            failed();
        return result;
    }

private:
    void failed()
    {
        if (m_error == 0)
            m_error = errno != 0 ? errno : EIO;
    }

    std::streambuf* m_target;
    int m_error = 0;
};

struct Watch {
    WatchedBuffer output{std::cout.rdbuf()};
    WatchedBuffer error{std::cerr.rdbuf()};

    Watch()
    {
        std::cout.rdbuf(&output);
        std::cerr.rdbuf(&error);
    }
    // The streams are flushed once more after this is gone, at the very end of the program.
    ~Watch()
    {
        std::cout.rdbuf(output.target());
        std::cerr.rdbuf(error.target());
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
};

// Lives until the program ends: the streams write through it to the last flush.
Watch* watch = nullptr;

} // namespace

void watchStandardStreams()
{
    static Watch installed;
    watch = &installed;
}

int checkedExitStatus(int status)
{
    if (!watch)
        return status;
    std::cout.flush();
    std::cerr.flush();
    const int outputError = watch->output.error();
    if (outputError == 0 && watch->error.error() == 0)
        return status;
    if (outputError != 0 && watch->error.error() == 0)
        std::cerr << "twinfold-cli: cannot write to standard output: " << std::strerror(outputError)
                  << std::endl;
    // 2, as for every trouble outside the run itself; a failed run keeps its own status.
    return status == ExitOk ? ExitUsage : status;
}

std::ostream& fileLines(const RunOptions& options)
{
    return options.json ? std::cerr : std::cout;
}

} // namespace twinfold::cli
