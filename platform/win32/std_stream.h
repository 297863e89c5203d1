// Standard output and standard error of a program without a console of its
// own. lumaro.exe is a window program: a test or script that redirects its
// standard error to a file or pipe gets the handle, and the bytes (UTF-8) go
// there unchanged. Started from a console window without redirection, it has
// no handle; the text then goes to the console of the program that started
// it, as characters (so umlauts show whatever the console's code page).
#pragma once

#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>

namespace lumaro::platform {

class StdHandleBuffer : public std::streambuf {
  public:
    // which: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit StdHandleBuffer(DWORD which) : which_(which) {}
    ~StdHandleBuffer() override;
    StdHandleBuffer(const StdHandleBuffer&) = delete;
    StdHandleBuffer& operator=(const StdHandleBuffer&) = delete;

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    HANDLE target();
    void write(const std::string& utf8);

    DWORD which_;
    HANDLE console_ = nullptr;
    bool triedConsole_ = false;
    std::string pending_;
};

// An ostream on one of the standard handles; flushed at every line end.
class StdHandleStream : public std::ostream {
  public:
    explicit StdHandleStream(DWORD which) : std::ostream(&buffer_), buffer_(which) {}

  private:
    StdHandleBuffer buffer_;
};

}  // namespace lumaro::platform
