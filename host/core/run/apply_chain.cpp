#include "host/core/run/apply_chain.h"

#include "host/core/plugins/plugin_function.h"

namespace host {

std::vector<CarriedName> NamesGivenBy(const Chain& chain, const std::string& outputPath) {
    std::vector<CarriedName> names;
    names.reserve(chain.size());
    for (const ChainEntry& step : chain) {
        names.push_back(PluginFunction(*step.entry).RenamedPath(outputPath));
    }
    return names;
}

ChainOutcome ApplyChain(std::span<const unsigned char> input, const Chain& chain,
                        const std::string* outputPath, TableSource& tables, BufferPool& pool,
                        const ChainEvents& events, OutputRoom* lastStepRoom,
                        BinaryInput binaryInput) {
    ChainOutcome outcome;
    std::span<const unsigned char> working = input;
    std::optional<bool> binary;  // the verdict on `working`, until a step changes it
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const PluginFunction function(*chain[i].entry);
        if (binaryInput == BinaryInput::kPassOn && function.isTextFunction()) {
            if (!binary) {
                binary = ClassifyContent(working).binary;
            }
            if (*binary) {
                outcome.binarySkips.push_back(i);
                continue;
            }
        }
        const bool usesTable = function.usesTable();
        const std::string& table = tables.TableFor(chain[i], usesTable);
        const std::optional<std::string> carried = ContractTablePath(table);
        if (!carried && usesTable) {
            outcome.failedSteps.push_back(i);
            if (events.tableNotCarried) {
                events.tableNotCarried(chain[i], table);
            }
            continue;
        }
        OutputRoom* room = i + 1 == chain.size() ? lastStepRoom : nullptr;
        // A step with a room gets its buffer prepared only when it turns the room down.
        if (working.size() >= BufferPool::kPrepareFrom && room == nullptr) {
            // The output is most likely about as large as the input: its pages are cleared
            // on another thread while the plug-in measures it.
            pool.Prepare(working.size() * 3, working.size() + working.size() / 16);
        }
        const std::size_t messagesBefore = events.pluginMessages ? events.pluginMessages() : 0;
        Conversion step = function.Convert(working, carried.value_or(std::string()), pool, room);
        if (step.status == Conversion::Status::kFailed) {
            outcome.failedSteps.push_back(i);
            if (events.stepFailed) {
                events.stepFailed(chain[i]);
            }
            continue;
        }
        if (!step.converted()) {
            if (events.pluginMessages && events.pluginMessages() != messagesBefore) {
                outcome.failedSteps.push_back(i);
            }
            continue;
        }
        const CarriedName name = outputPath != nullptr ? function.RenamedPath(*outputPath)
                                                       : CarriedName{};
        if (name.path) {
            outcome.newName = name.path;
            if (events.renamed) {
                events.renamed(*name.path);
            }
        } else if (name.lost && events.nameLost) {
            events.nameLost(chain[i]);
        }
        pool.Give(std::move(outcome.bytes));
        outcome.bytes = std::move(step.bytes);
        outcome.roomLength = step.roomLength;
        outcome.converted = true;
        working = {outcome.bytes.data(), outcome.bytes.size()};
        binary.reset();
    }
    return outcome;
}

}  // namespace host
