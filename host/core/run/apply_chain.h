// The chain applied to bytes, and nothing else: no files, no prompts. Each step's function
// converts the previous step's output (the input for the first); a step with nothing to do or
// a failed one passes its bytes on unchanged. So does a text function whose input is binary
// (host/core/files/text_content.h), unless the caller asks for binary input to be converted;
// the verdict on the bytes is reached once and holds until a step changes them. Output buffers
// come from a pool and go back to it, so a run over many files reuses the same few large
// blocks.
//
// Each step calls its plug-in in the contract's order: whether it needs a table, the size
// of its output, and for a size above 0 the conversion; only a step that converted is then
// asked the name it gives the result, and the chain keeps the name of the last step that
// converted and renames. A run over several files at once also asks the names ahead
// (NamesGivenBy), to order the files that share a path; the names asked after each
// conversion are the ones the result gets.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/core/buffers/buffer_pool.h"
#include "host/core/buffers/byte_buffer.h"
#include "host/core/files/text_content.h"
#include "host/core/plugins/contract_path.h"
#include "host/core/plugins/function_entry.h"
#include "host/core/plugins/plugin_function.h"

namespace host {

// Where the steps get their conversion table.
class TableSource {
  public:
    virtual ~TableSource() = default;
    // The table path handed to `step` ("" for none). `usesTable` says whether the step's
    // function wants one; a source may then ask the user when it has none yet.
    virtual const std::string& TableFor(const ChainEntry& step, bool usesTable) = 0;
};

// The same table for every step.
class FixedTable : public TableSource {
  public:
    explicit FixedTable(std::string path = {}) : path_(std::move(path)) {}
    const std::string& TableFor(const ChainEntry&, bool) override { return path_; }

  private:
    std::string path_;
};

struct ChainOutcome {
    ByteBuffer bytes;                      // the last converted step's output
    bool converted = false;                // some step converted: `bytes` hold the result...
    std::optional<std::size_t> roomLength;  // ...unless the last step wrote it to its room
    std::optional<std::string> newName;    // the name the last converting, renaming step gave
    std::vector<std::size_t> failedSteps;  // indices into the chain, in order
    std::vector<std::size_t> binarySkips;  // text steps that passed binary input on, in order
};

// What text functions do with binary input: pass it on unchanged, or convert it all the same.
enum class BinaryInput { kPassOn, kConvert };

// For every step of `chain`, the name its function gives a result bound for `outputPath`,
// asked ahead of any conversion.
std::vector<CarriedName> NamesGivenBy(const Chain& chain, const std::string& outputPath);

// What a caller hears of as it happens, before the next step runs (either may be empty).
struct ChainEvents {
    std::function<void(const ChainEntry& step)> stepFailed;
    std::function<void(const std::string& newName)> renamed;  // a converting step renamed
    // A converting step renames, but its new name could not be carried back to the real path
    // (see contract_path.h): the result keeps the name it had.
    std::function<void(const ChainEntry& step)> nameLost;
    // A step that needs its table was skipped: the table's path cannot be handed to plug-ins.
    std::function<void(const ChainEntry& step, const std::string& table)> tableNotCarried;
    // How many boxes the plug-ins have shown so far, when the caller counts them. A step that
    // converts nothing but shows one (a table it cannot use, say) has failed all the same: it
    // goes into failedSteps, without a stepFailed event, since the plug-in has said why.
    std::function<std::size_t()> pluginMessages;
};

// Runs `chain` over `input`. Each converting step is asked the name it gives a result bound
// for `outputPath` (null when names do not matter). The last step writes its output to
// `lastStepRoom` when that has room for it.
ChainOutcome ApplyChain(std::span<const unsigned char> input, const Chain& chain,
                        const std::string* outputPath, TableSource& tables, BufferPool& pool,
                        const ChainEvents& events = {}, OutputRoom* lastStepRoom = nullptr,
                        BinaryInput binaryInput = BinaryInput::kPassOn);

}  // namespace host
