// One listed function as the program calls it. PluginFunction is the only code of the program,
// its tests and its benchmarks that fills the contract's ConvertRequest or a rename buffer:
// everything else asks it to convert bytes or to rename a path.
//
// A conversion is the contract's two calls: the size pass, then (for a size above 0) the
// conversion into a buffer of exactly that size. The result is new bytes, "nothing to do"
// (size 0: the step is skipped and the bytes pass on) or a failure (the conversion returned
// 0). A plug-in that reports more output than it asked room for is not believed beyond it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "host/core/buffers/buffer_pool.h"
#include "host/core/buffers/byte_buffer.h"
#include "host/core/buffers/output_room.h"
#include "host/core/plugins/contract_path.h"
#include "host/core/plugins/function_entry.h"

namespace host {

struct Conversion {
    enum class Status { kConverted, kNothingToDo, kFailed };
    Status status = Status::kNothingToDo;
    ByteBuffer bytes;             // the output, for kConverted, unless it went to the room
    std::optional<std::size_t> roomLength;  // the output's length when it went to the room
    std::uint32_t sizeAsked = 0;  // what the size pass returned
    bool lengthCut = false;       // the plug-in reported more output than it asked room for

    bool converted() const { return status == Status::kConverted; }
};

class PluginFunction {
  public:
    // `entry` must outlive this object (it lives as long as its plug-in is loaded).
    explicit PluginFunction(const FunctionEntry& entry) : entry_(&entry) {}

    // Whether the function wants a conversion table.
    bool usesTable() const;
    // Whether the function's plug-in declares it a text function (one that binary input
    // passes unchanged); false when the plug-in says nothing.
    bool isTextFunction() const;

    // The function over `input`, with `tablePath` ("" for none) as the contract carries it
    // (ContractTablePath); the output buffer comes from `room` when it has room for what the
    // function asks, else from `pool`. An input longer than the contract's 32-bit lengths is a
    // failure.
    Conversion Convert(std::span<const unsigned char> input, const std::string& tablePath,
                       BufferPool& pool, OutputRoom* room = nullptr) const;

    // The name the function gives a result that would be written to `outputPath`, asked in
    // the contract's text (contract_path.h).
    CarriedName RenamedPath(const std::string& outputPath) const;

    const FunctionEntry& entry() const { return *entry_; }

  private:
    const FunctionEntry* entry_;
};

}  // namespace host
