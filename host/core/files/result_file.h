// A result converted straight into its file. For a large input, the last step of a chain
// writes its output into the pages of a temporary file beside the target instead of a fresh
// buffer that would then be copied into the file: memory stays near what copying the file
// takes, and the copy goes.
//
// The room the step asks for is reserved on the disk before the file is mapped, so that a
// full disk is an error here, answered by the ordinary buffer and write, and never a signal
// in the middle of a conversion. Committing cuts the file to the output's length and moves it
// over the target the way ReplaceFileContent does (through a link, keeping a replaced file's
// permissions). A result never committed takes its temporary file with it.
//
// Only where files can be mapped this way (POSIX); elsewhere Create gives nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "host/core/buffers/output_room.h"
#include "host/core/files/whole_file.h"

namespace host {

// Inputs from this size on have their result converted into its file.
inline constexpr std::size_t kResultFileFrom = std::size_t{8} << 20;

class ResultFile {
public:
    // A temporary file beside `target` with `room` bytes reserved and mapped; nothing when
    // any of that fails (the caller converts into memory as usual).
    static std::unique_ptr<ResultFile> Create(const std::string& target, std::size_t room);
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    unsigned char* data() { return bytes_; }
    std::size_t room() const { return room_; }

    // Cuts the file to `length` bytes and puts it at `path`, with `extras` as for
    // ReplaceFileContent. Once only.
    WriteResult Commit(const std::string& path, std::size_t length,
                       const WriteExtras& extras = {});

private:
    ResultFile(int fd, std::string temp, unsigned char* bytes, std::size_t room);
    void Unmap();

    int fd_;
    std::string temp_;  // "" once committed
    unsigned char* bytes_;
    std::size_t room_;
};

// The room of a chain's last step in a result file beside `target`, made when the step asks.
// Only for room up to half as much again as the file read (`inputSize`): a function that
// asks for a loose bound (three bytes for every one, say) would have all of it reserved, and
// on a file system in memory the reserved room is memory; such a step converts into a buffer
// whose untouched pages cost nothing.
class ResultFileRoom : public OutputRoom {
public:
    ResultFileRoom(std::string target, std::size_t inputSize)
        : target_(std::move(target)), inputSize_(inputSize) {}
    std::span<unsigned char> RoomFor(std::size_t size) override;
    // The file made for the last step, if it asked and one could be made.
    ResultFile* file() { return file_.get(); }

private:
    std::string target_;
    std::size_t inputSize_;
    std::unique_ptr<ResultFile> file_;
};

}  // namespace host
