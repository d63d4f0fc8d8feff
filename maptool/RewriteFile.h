// CRewriteFile: replaces the content of an existing file as one step, so that a
// failed rewrite never leaves a truncated or half-written map behind.
//
// Begin checks that the file may be written (a read-only or locked file may not;
// on POSIX a mode without the owner-write bit counts as read-only, also for
// root) and creates a temporary file in the same folder. The bytes put into the
// sink go to that file. Commit flushes and closes it, gives it the original's
// permissions and moves it over the original. A path that is a symbolic link
// rewrites the file it points to, and the link stays a link.
//
// Text mode: on Windows every LF put into the sink is written as CR LF, like a
// stream opened with "wt"; elsewhere bytes go out unchanged.
//
// Does not check: that the data reached the disk. There is no fsync, which
// would cost a good part of the run; a crash of the whole system right after
// the move is left to the file system (ext4, for one, writes out a file renamed
// over another before the rename).
//
// Ownership: the object owns the temporary file. Whenever it is not committed
// (a failed step, an exception, destruction) the temporary file is removed and
// the original is left as it was. Not copyable.
#pragma once

#include "OutputSink.h"

#include <string>

class CRewriteFile : public COutputSink {
public:
    CRewriteFile() = default;
    ~CRewriteFile() override;

    // True when the file at pszPath exists, may be written, and a temporary file
    // could be made beside it. On false nothing was created.
    bool Begin(const char* pszPath);

    // True when every byte reached the disk and the file now holds them. On
    // false the original is unchanged and the temporary file is gone.
    bool Commit();

private:
    bool Drain(const char* p, std::size_t n) override;
    void Discard();  // closes and removes the temporary file, if any

    std::string m_strTarget;  // the file to replace, links resolved
    std::string m_strTemp;    // the temporary file, empty when there is none
#ifdef _WIN32
    void* m_hTemp = nullptr;          // HANDLE of the temporary file
    unsigned long m_nAttributes = 0;  // the original's attributes
    std::string m_strCrLf;            // scratch for the LF to CR LF translation
#else
    int m_hTemp = -1;
    unsigned m_nMode = 0;  // the original's permission bits
    unsigned m_nOwner = 0;
    unsigned m_nGroup = 0;
#endif
};
