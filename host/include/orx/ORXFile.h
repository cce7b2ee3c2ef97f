#pragma once
// The framework's output file.

#include <ios>
#include <ostream>
#include <string>
#include <vector>

#include "orx/ORXString.h"

// An output file written through a buffer of its own. Assigning a string sets
// the path; open() creates or truncates the file. A write, flush or close that
// fails raises an ORXException naming the path and the system's error text, so
// a full disk never passes for success.
//
// A regular file (or one that does not exist yet) opened without `app` is
// written to a temporary file beside it, which close() renames into place
// once everything is written: the path then holds either its previous
// content or the new one, never a fragment. A failed close and discard()
// remove the temporary file. Other files (devices, FIFOs) are written
// directly.
class ORXFile {
  public:
    ORXFile();
    ~ORXFile();  // closes without raising; call close() to see errors
    ORXFile(const ORXFile&) = delete;
    ORXFile& operator=(const ORXFile&) = delete;

    // Sets the path of the file (it is opened by open()).
    ORXFile& operator=(const ORXString& path);
    const ORXString& getPath() const { return path_; }

    // Opens the file for output; `mode` takes the standard stream flags
    // (out, binary, app). Returns whether it opened. An empty path never opens.
    bool open(std::ios_base::openmode mode);
    bool isOpen() const { return fd_ >= 0; }

    ORXFile& operator<<(const ORXString& text);
    ORXFile& operator<<(const char* text);
    ORXFile& operator<<(char c);
    // The standard end-of-line manipulator writes one line feed. The line is
    // buffered like any other text; the bytes in the file are the same.
    ORXFile& operator<<(std::ostream& (*manipulator)(std::ostream&));
    void write(const char* data, std::size_t size);

    // Writes the buffer out.
    void flush();
    // Flushes and closes; harmless when the file is not open. The file counts
    // as closed afterwards even when closing raised.
    void close();
    // Closes without keeping what was written: a temporary file is removed
    // and the previous file stays as it was. Never raises.
    void discard() noexcept;

    // Removes the temporary files of every file still open; safe to call
    // from a signal handler (it only unlinks).
    static void removeTemporaryFiles() noexcept;

    // Total bytes handed to the file since it was opened.
    unsigned long long getBytesWritten() const { return written_; }
    // The system's error number of the last failure that raised (0 when
    // none), for callers that word their own message.
    int getLastError() const { return lastError_; }

  private:
    void writeOut(const char* data, std::size_t size);
    [[noreturn]] void fail(const char* what, int error);
    int openReplacement(int& error);
    void forgetTemporary() noexcept;

    ORXString path_;
    // While a replacement is written: the temporary file and the file it
    // replaces (the path's target when the path is a symbolic link).
    std::string temporary_;
    std::string target_;
    int slot_ = -1;
    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    unsigned long long written_ = 0;
    int lastError_ = 0;
};
