#include "simulator/cli/StandardStreams.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <streambuf>
#include <unistd.h>

namespace sim {
namespace {

// std::cout's buffer: writes descriptor 1 directly and keeps the reason of the first write that
// failed, which the C library's stream forgets (it keeps only an error flag). After a failure
// the rest of the output is dropped, as it could only arrive with a hole in it.
class OutputBuffer : public std::streambuf {
  public:
    OutputBuffer() : replaced_(std::cout.rdbuf(this)) { setp(bytes_.data(), bytes_.data() + bytes_.size()); }
    ~OutputBuffer() override {
        // std::cout outlives this buffer; it must not flush into it at exit.
        drain();
        std::cout.rdbuf(replaced_);
    }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    [[nodiscard]] int failure() const { return failure_; }
    [[nodiscard]] bool wroteAnything() const { return wrote_; }

  protected:
    int_type overflow(int_type c) override {
        if (!drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        const char* at = pbase();
        const char* end = pptr();
        wrote_ = wrote_ || at != end;
        while (failure_ == 0 && at < end) {
            ssize_t written = ::write(STDOUT_FILENO, at, static_cast<std::size_t>(end - at));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                failure_ = written < 0 ? errno : EIO;
                break;
            }
            at += written;
        }
        setp(bytes_.data(), bytes_.data() + bytes_.size());
        return failure_ == 0;
    }

    std::array<char, 65536> bytes_{};
    std::streambuf* replaced_;
    int failure_ = 0;
    bool wrote_ = false;
};

OutputBuffer& outputBuffer() {
    static OutputBuffer buffer;
    return buffer;
}

} // namespace

void guardStandardStreams() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // open() returns the lowest free number, which is this one: the lower ones are open.
        int placeholder = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (placeholder != -1 && placeholder != descriptor) {
            close(placeholder);
        }
    }
    outputBuffer();
    // A person at a terminal sees each line as it is written.
    if (isatty(STDOUT_FILENO) != 0) {
        std::cout.setf(std::ios::unitbuf);
    }
}

std::string closeStandardOutput() {
    std::cout.flush();
    OutputBuffer& buffer = outputBuffer();
    int reason = buffer.failure();
    // Anything written through the C library's stream instead (none of ours does) is flushed
    // before the descriptor closes under it.
    if (reason == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)) {
        reason = errno != 0 ? errno : EIO;
    }
    if (reason == 0 && ::close(STDOUT_FILENO) != 0 && errno != EINTR) {
        // A close that fails reports a delayed write error (NFS, a full quota); a placeholder
        // for a closed descriptor closes without one.
        reason = errno;
    }
    // Nothing written to a descriptor the caller closed is no failure: no output was asked for.
    if (reason == 0 || (reason == EBADF && !buffer.wroteAnything())) {
        return {};
    }
    const bool full = reason == ENOSPC || reason == EDQUOT;
    return std::string("lapvane: cannot write to standard output: ") + std::strerror(reason) +
           "; the output is incomplete: " +
           (full ? "free some space or send it elsewhere" : "send it elsewhere");
}

} // namespace sim
