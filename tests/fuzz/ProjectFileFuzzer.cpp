// Feeds arbitrary bytes to the project-file reader. Whatever the bytes, the load must not
// crash, the tree must agree with the list, and a project that can be stored must come back
// unchanged from its own file.

#include "model/InMemoryDesignTree.h"
#include "model/ProjectFileWriter.h"
#include "model/TzybAppletAgent.h"
#include "platform/VelloriaError.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkRoundTrip(const TzybAppletAgent &agent)
{
    const TAppletData data = agent.GetAppletData();
    try {
        ProjectFileWriter::checkStorable(data, agent.items());
    } catch (const VelloriaError &) {
        return;
    }
    ProgressDisplay quiet;
    const std::string text = ProjectFileWriter(data, agent.items(), quiet).text();
    TzybAppletAgent again("/nonexistent");
    InMemoryDesignTree tree;
    check(again.loadFromText(text, tree) == LoadResult::Loaded);
    check(again.GetAppletData() == data);
    check(again.items() == agent.items());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TzybAppletAgent agent("/nonexistent");
    agent.SetDefaults();
    InMemoryDesignTree tree;
    const LoadResult result =
        agent.loadFromText(std::string_view(reinterpret_cast<const char *>(data), size), tree);
    check(tree.count() == agent.itemCount() + 1);
    for (int n = 1; n < tree.count(); ++n)
        check(tree.absoluteIndex(tree.nodeAt(n)) == n);
    if (result == LoadResult::Loaded || result == LoadResult::Incomplete ||
        result == LoadResult::NoItemList)
        checkRoundTrip(agent);
    return 0;
}
