#pragma once
// Writing a set of files that belong together (the five pictures of a run) all or none:
// each through a temporary name and a rename, and on any failure the new files are removed
// and the old ones stay. The front-ends say what happened in their own words from the
// reasons given here.

#include <string>
#include <vector>

namespace sp::analysis {

struct FileToWrite {
    std::string name;   // inside the folder
    std::string bytes;  // the whole content
};

enum class WriteFault {
    NoSpace,       // the disk or the quota is full
    Denied,        // no permission to write there
    ReadOnlyDisk,  // the file system is mounted read-only
    ReadOnlyFile,  // a file of that name is protected against writing
    NotAFile,      // a folder or something else than a file has that name
    NoFolder,      // the folder is not there, or is not a folder
    Other,         // any other failure of the system; `error` says which
    Withdrawn,     // written, then removed because another file of the set failed
};

struct FileFault {
    std::string name;
    WriteFault fault = WriteFault::Other;
    int error = 0;  // the system's error number, 0 for a fault found before writing
};

struct SetReport {
    // Why the folder could not be made, when it could not.
    bool folder_failed = false;
    FileFault folder;
    // Every file not written, with why; empty when the whole set was written.
    std::vector<FileFault> not_written;
    bool ok() const { return not_written.empty(); }
};

// Writes the files into `folder` (made when missing, with its parents), all or none.
SetReport write_file_set(const std::string& folder, const std::vector<FileToWrite>& files);

// The fault a system error number stands for.
WriteFault fault_of(int error);

}  // namespace sp::analysis
