// Whole-file reads and safe whole-file writes.
//
// A write never destroys the file it replaces: the bytes go to a temporary file in the
// target's folder, which is moved over the target only when every byte is written. The
// replaced file's permissions are kept; on failure the target is untouched and no temporary
// file is left behind. A new file is created in place (never over one that appears
// meanwhile) and removed again when its write fails.
//
// On request a write keeps the file it replaces as a backup beside it (its name plus a
// suffix, replacing an earlier backup), made once the new bytes are safely written and just
// before they take the target's place: when the backup cannot be made, the target stays as
// it was. A write may also give the result a modification time of the caller's choosing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "host/core/files/source_bytes.h"

namespace host {

enum class ReadStatus {
    kOk,
    kCannotOpen,  // missing, a folder, not a regular file (a pipe, a device), no permission
    kTooLarge,    // 4 GiB or more: beyond what a conversion step can describe
    kReadError,   // opened, but reading failed part-way
};

struct ReadResult {
    ReadStatus status = ReadStatus::kOk;
    SourceBytes bytes;
    std::string reason;  // the system's text for a failure
};

// Largest file the run takes: sizes cross the plug-in contract as 32-bit values.
inline constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFull;

// A regular file of some size is mapped rather than copied (see GuardedMapping); anything
// else is read to its end. `written` names the files the caller writes while it holds the
// bytes: Windows will not replace a file while a view of it is mapped, so there a file that
// one of them names (in any case, through a link or another hard link) is read, not mapped.
ReadResult ReadWholeFile(const std::string& path, std::uint64_t maxSize = kMaxFileSize,
                         std::span<const std::string> written = {});
// The same for a descriptor that is already open (standard input); it is not closed.
ReadResult ReadWholeDescriptor(int fd, std::uint64_t maxSize = kMaxFileSize);

enum class WriteStatus {
    kOk,
    kCannotCreate,  // the folder is missing or not writable, the target is read-only or a folder
    kWriteError,    // the bytes could not all be written (disk full, I/O error)
    kBackupFailed,  // the replaced file could not be kept as its backup; the target is untouched
};

struct WriteResult {
    WriteStatus status = WriteStatus::kOk;
    std::string reason;
    std::string backup = {};  // for kBackupFailed: the backup that could not be made
};

// A file's time of last modification, in the system's own measure (opaque to callers).
struct FileTime {
    std::int64_t ticks = 0;
    bool operator==(const FileTime&) const = default;
};
// Nothing when `path` cannot be looked at.
std::optional<FileTime> ModificationTimeOf(const std::string& path);

// What a write does beside putting the bytes in place.
struct WriteExtras {
    // When not empty, a file that the write replaces is kept under its name plus this suffix
    // (the name of the file itself where `path` is a link to it).
    std::string backupSuffix;
    // The result's modification time; by default the time of the write.
    std::optional<FileTime> modified;
};

// `probablyNew`: the caller just saw nothing at `path`, so creating it is tried first.
WriteResult ReplaceFileContent(const std::string& path, const unsigned char* bytes,
                               std::size_t length, bool probablyNew = false,
                               const WriteExtras& extras = {});

// Writes every byte to the open descriptor `fd` (standard output), which stays open.
WriteResult WriteToDescriptor(int fd, const unsigned char* bytes, std::size_t length);

// The path that stands for standard input as a source and standard output as a target.
inline constexpr char kStandardStream[] = "-";

}  // namespace host
