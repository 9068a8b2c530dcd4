#include "analysis/file_set.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace sp::analysis {
namespace {

struct Pending {
    std::string target;
    std::string temporary;
    std::string backup;  // a second name of the old file while the set is committed
    bool had_old = false;
    bool backed_up = false;
    bool renamed = false;
};

std::string path_in(const std::string& folder, const std::string& name)
{
    return (std::filesystem::path(folder) / name).string();
}

// What stands at the target that a rename must not replace, or nothing.
std::optional<WriteFault> unreplaceable(const std::string& target, bool& exists)
{
    struct stat st {};
    exists = ::lstat(target.c_str(), &st) == 0;
    if (!exists)
        return std::nullopt;
    if (!S_ISREG(st.st_mode))
        return WriteFault::NotAFile;
    // A file the user protected is not replaced behind their back.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return WriteFault::ReadOnlyFile;
    return std::nullopt;
}

// The whole content into a new temporary file beside the target, synced to the disk, so
// that a full disk shows here and not after the rename. The error number, 0 when written.
int write_temporary(Pending& p, const std::string& bytes)
{
    std::string name = p.target;
    const auto slash = name.find_last_of('/');
    name.insert(slash == std::string::npos ? 0 : slash + 1, ".");
    name += ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return errno;
    p.temporary = name;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            error = n < 0 ? errno : EIO;
        else {
            data += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // The file as an ordinary new file would have it, not mkstemp's private 0600.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (error == 0 && ::chmod(name.c_str(), 0666 & ~mask) != 0)
        error = errno;
    return error;
}

void remove_temporaries(std::vector<Pending>& pending)
{
    for (Pending& p : pending)
        if (!p.temporary.empty() && !p.renamed)
            ::unlink(p.temporary.c_str());
}

// Puts the old files back where the set had replaced them, and removes the new ones.
void roll_back(std::vector<Pending>& pending)
{
    for (Pending& p : pending) {
        if (p.backed_up)
            ::rename(p.backup.c_str(), p.target.c_str());
        else if (p.renamed && !p.had_old)
            ::unlink(p.target.c_str());
    }
    remove_temporaries(pending);
}

std::vector<FileFault> all_but(const std::vector<FileToWrite>& files, const std::vector<FileFault>& faults)
{
    std::vector<FileFault> out = faults;
    for (const FileToWrite& f : files) {
        bool named = false;
        for (const FileFault& fault : faults)
            named = named || fault.name == f.name;
        if (!named)
            out.push_back({f.name, WriteFault::Withdrawn, 0});
    }
    return out;
}

}  // namespace

WriteFault fault_of(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return WriteFault::NoSpace;
    case EACCES:
    case EPERM:
        return WriteFault::Denied;
    case EROFS:
        return WriteFault::ReadOnlyDisk;
    case EISDIR:
        return WriteFault::NotAFile;
    case ENOENT:
    case ENOTDIR:
        return WriteFault::NoFolder;
    default:
        return WriteFault::Other;
    }
}

SetReport write_file_set(const std::string& folder, const std::vector<FileToWrite>& files)
{
    SetReport report;
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        report.folder_failed = true;
        report.folder = {folder, fault_of(made.value()), made.value()};
        for (const FileToWrite& f : files)
            report.not_written.push_back({f.name, report.folder.fault, made.value()});
        return report;
    }

    // Everything is written beside the targets first; nothing is replaced yet.
    std::vector<Pending> pending(files.size());
    std::vector<FileFault> faults;
    for (std::size_t i = 0; i < files.size(); ++i) {
        Pending& p = pending[i];
        p.target = path_in(folder, files[i].name);
        if (const auto fault = unreplaceable(p.target, p.had_old)) {
            faults.push_back({files[i].name, *fault, 0});
            continue;
        }
        if (const int error = write_temporary(p, files[i].bytes))
            faults.push_back({files[i].name, fault_of(error), error});
    }
    if (!faults.empty()) {
        remove_temporaries(pending);
        report.not_written = all_but(files, faults);
        return report;
    }

    // Then each replaces its target; the old file keeps a second name until all are in.
    for (std::size_t i = 0; i < files.size(); ++i) {
        Pending& p = pending[i];
        if (p.had_old) {
            p.backup = p.temporary + ".old";
            // A file system without hard links (FAT) moves the old file aside instead.
            p.backed_up = ::link(p.target.c_str(), p.backup.c_str()) == 0 ||
                          ::rename(p.target.c_str(), p.backup.c_str()) == 0;
        }
        if (::rename(p.temporary.c_str(), p.target.c_str()) != 0) {
            const int error = errno;
            roll_back(pending);
            report.not_written = all_but(files, {{files[i].name, fault_of(error), error}});
            return report;
        }
        p.renamed = true;
    }
    for (Pending& p : pending)
        if (p.backed_up)
            ::unlink(p.backup.c_str());
    return report;
}

}  // namespace sp::analysis
