// Times saving and loading a large project file. The floor to compare loading with is
// `wc -l` on the same file, run as a whole process: it reads every byte and finds every line
// end, which is the least any loader has to do. Prints a table and whether the goals are met;
// the exit status is 0 either way, since this is a report, not a test.
//
// project-file-bench [items] [--runs N] [--nested]

#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double saveGoalMs = 150.0;
constexpr double loadGoalMs = 150.0;
constexpr double loadToWcGoal = 3.0;
constexpr int maxLevel = 6;

struct Options
{
    int items = 100000;
    int runs = 15;
    bool nested = false;
};

struct Samples
{
    std::vector<double> ms;

    double median() const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double min() const { return *std::min_element(ms.begin(), ms.end()); }
};

struct Results
{
    std::uintmax_t fileBytes = 0;
    Samples save, atomicWrite, plainWrite;
    Samples load, loadFromText, treeOnly, wc, read;
};

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Options parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--nested")
            options.nested = true;
        else if (arg == "--runs" && i + 1 < argc)
            options.runs = std::max(1, std::atoi(argv[++i]));
        else if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos)
            options.items = std::max(1, std::atoi(arg.c_str()));
        else
            throw std::invalid_argument("usage: project-file-bench [items] [--runs N] [--nested]");
    }
    return options;
}

std::string pick(std::minstd_rand &random, const std::vector<std::string> &choices)
{
    return choices[random() % choices.size()];
}

std::string padded(unsigned value, int width)
{
    std::string text = std::to_string(value);
    return std::string(static_cast<std::size_t>(std::max(0, width - int(text.size()))), '0') + text;
}

// Paths as a camera and a photographer's folders make them, about 60 to 70 characters, so
// that the file's size and the fields' lengths are those of a real project.
std::string originalPath(std::minstd_rand &random, int index)
{
    static const std::vector<std::string> users{"designer", "mara", "jonas.k", "studio"};
    static const std::vector<std::string> albums{
        "holiday-coast",    "family-birthday", "spring-garden", "city-walk",
        "wedding-anna-tom", "mountain-trail",  "product-shoot", "autumn-market"};
    static const std::vector<std::string> cameras{"IMG_", "DSC_", "PXL_"};
    const std::string year = std::to_string(2019 + random() % 7);
    const std::string date = year + padded(1 + random() % 12, 2) + padded(1 + random() % 28, 2);
    const std::string time = padded(random() % 24, 2) + padded(random() % 60, 2);
    return "/home/" + pick(random, users) + "/Pictures/" + year + "/" + pick(random, albums) + "/" +
           pick(random, cameras) + date + "_" + time + "_" + padded(index % 10000, 4) + ".jpg";
}

// Levels for the nested variant: each item goes up to one level below the one before it,
// or back out to any level above, the only shapes a tree gives.
int nextLevel(std::minstd_rand &random, int previous, bool nested)
{
    if (!nested)
        return 0;
    return std::min<int>(maxLevel,
                         static_cast<int>(random() % static_cast<unsigned>(previous + 2)));
}

void fillProject(TzybAppletAgent &agent, const Options &options)
{
    std::minstd_rand random(20250712);
    agent.SetDefaults();
    int level = -1;
    for (int i = 0; i < options.items; ++i) {
        level = nextLevel(random, level, options.nested);
        TItemData item = agent.NewItemData();
        item.IImageFileName = "slider" + std::to_string(i + 1) + ".jpg";
        item.IOriginalImagePath = originalPath(random, i);
        item.ILink = "https://gallery.example.org/photo/" + padded(100000 + i, 6);
        item.ITarget = "_self";
        item.IToolTip = "Photo " + std::to_string(i + 1);
        item.IWidth = "160";
        item.IHeight = "120";
        item.ILevel = std::to_string(level);
        agent.InsertItem(agent.itemCount(), item);
    }
}

// The whole process, as a shell would start it: spawn, let it read the file, wait.
double timeWcProcess(const fs::path &file)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "wc", option = "-l", name = file.string();
    char *args[] = {program.data(), option.data(), name.data(), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, "wc", &actions, nullptr, args, environ);
    int status = 0;
    if (error == 0)
        waitpid(pid, &status, 0);
    const double ms = millisecondsSince(start);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("wc -l failed on " + name);
    return ms;
}

// Writes without the fsync and rename of a save, to tell how much of a save the disk takes.
double timePlainWrite(const fs::path &file, const std::string &bytes)
{
    const auto start = Clock::now();
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written =
        fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (fd >= 0)
        ::close(fd);
    const double ms = millisecondsSince(start);
    if (!written)
        throw std::runtime_error("cannot write " + file.string());
    return ms;
}

void checkLoaded(LoadResult result, const TzybAppletAgent &agent, const InMemoryDesignTree &tree,
                 int items)
{
    if (result != LoadResult::Loaded || agent.itemCount() != items || tree.count() != items + 1)
        throw std::runtime_error("the project did not load back whole");
}

// Agent and tree are made before the clock starts and freed after it stops: the figure is
// the load alone, as when the editor opens a project.
double timeLoad(const fs::path &folder, const fs::path &file, int items)
{
    TzybAppletAgent agent(folder);
    InMemoryDesignTree tree;
    const auto start = Clock::now();
    const LoadResult result = agent.LoadFromFile(file.string(), tree);
    const double ms = millisecondsSince(start);
    checkLoaded(result, agent, tree, items);
    return ms;
}

double timeLoadFromText(const fs::path &folder, const std::string &bytes, int items)
{
    TzybAppletAgent agent(folder);
    InMemoryDesignTree tree;
    const auto start = Clock::now();
    const LoadResult result = agent.loadFromText(bytes, tree);
    const double ms = millisecondsSince(start);
    checkLoaded(result, agent, tree, items);
    return ms;
}

double timeTreeOnly(const TzybAppletAgent &loaded)
{
    InMemoryDesignTree tree;
    const auto start = Clock::now();
    loaded.BuildTreeFromLevels(tree);
    return millisecondsSince(start);
}

double timeRead(const fs::path &file)
{
    const auto start = Clock::now();
    const std::string bytes = fileio::readFile(file);
    const double ms = millisecondsSince(start);
    if (bytes.empty())
        throw std::runtime_error("empty file " + file.string());
    return ms;
}

void measureSave(const TzybAppletAgent &agent, const fs::path &folder, const Options &options,
                 Results &results)
{
    const fs::path saved = folder / "saved.jfs";
    for (int r = 0; r < options.runs; ++r) {
        const auto start = Clock::now();
        agent.SaveToFile(saved.string());
        results.save.ms.push_back(millisecondsSince(start));
    }
    const std::string bytes = fileio::readFile(saved);
    for (int r = 0; r < options.runs; ++r) {
        const auto start = Clock::now();
        fileio::writeFileAtomically(folder / "atomic.jfs", bytes);
        results.atomicWrite.ms.push_back(millisecondsSince(start));
        results.plainWrite.ms.push_back(timePlainWrite(folder / "plain.jfs", bytes));
    }
}

// Load and wc -l take turns, so that both see the same machine: the same cache state, the
// same neighbours on the other core.
void measureLoad(const fs::path &folder, const fs::path &file, const Options &options,
                 Results &results)
{
    const std::string bytes = fileio::readFile(file);
    TzybAppletAgent loaded(folder);
    InMemoryDesignTree scratch;
    loaded.LoadFromFile(file.string(), scratch);
    timeWcProcess(file); // warms the page cache and the program's own pages
    for (int r = 0; r < options.runs; ++r) {
        results.load.ms.push_back(timeLoad(folder, file, options.items));
        results.wc.ms.push_back(timeWcProcess(file));
        results.read.ms.push_back(timeRead(file));
        results.loadFromText.ms.push_back(timeLoadFromText(folder, bytes, options.items));
        results.treeOnly.ms.push_back(timeTreeOnly(loaded));
    }
}

void printRow(const char *label, const Samples &samples)
{
    std::printf("  %-44s %10.2f %10.2f\n", label, samples.median(), samples.min());
}

void printGoal(const char *label, double value, double goal, const char *unit)
{
    std::printf("  %-30s %8.2f%-3s goal < %6.2f%-3s %s\n", label, value, unit, goal, unit,
                value < goal ? "PASS" : "MISS");
}

void printTable(const Options &options, const Results &results)
{
    std::printf("\nProject file: %d items, %s levels, %d runs each\n", options.items,
                options.nested ? "nested" : "flat", options.runs);
    std::printf("File size: %.2f MB (%ju bytes)\n\n", double(results.fileBytes) / 1e6,
                results.fileBytes);
    std::printf("  %-44s %10s %10s\n", "step", "median ms", "min ms");
    printRow("save (SaveToFile)", results.save);
    printRow("  same bytes: write + fsync + rename", results.atomicWrite);
    printRow("  same bytes: plain write, no fsync", results.plainWrite);
    printRow("load (LoadFromFile, fresh agent and tree)", results.load);
    printRow("  from bytes in memory (parse + tree)", results.loadFromText);
    printRow("  tree rebuild only (BuildTreeFromLevels)", results.treeOnly);
    printRow("wc -l FILE (whole process)", results.wc);
    printRow("read file bytes (fileio::readFile)", results.read);
}

void printSummary(const Results &results)
{
    const double ratio = results.load.median() / results.wc.median();
    const double fsyncMs = results.atomicWrite.median() - results.plainWrite.median();
    std::printf("\n  load / wc -l (medians): %.2f    (mins: %.2f)\n", ratio,
                results.load.min() / results.wc.min());
    std::printf("  fsync and rename, about: %.2f ms = %.0f%% of the median save\n", fsyncMs,
                100.0 * fsyncMs / results.save.median());
    std::printf("\nGoals (medians):\n");
    printGoal("save", results.save.median(), saveGoalMs, " ms");
    printGoal("load", results.load.median(), loadGoalMs, " ms");
    printGoal("load / wc -l", ratio, loadToWcGoal, " x");
}

Results runBenchmark(const Options &options, const fs::path &folder)
{
    Results results;
    const fs::path file = folder / "project.jfs";
    {
        TzybAppletAgent agent(folder);
        fillProject(agent, options);
        agent.SaveToFile(file.string());
        measureSave(agent, folder, options, results);
    }
    results.fileBytes = fs::file_size(file);
    measureLoad(folder, file, options, results);
    return results;
}

fs::path makeTemporaryFolder()
{
    std::string pattern = (fs::temp_directory_path() / "project-file-bench.XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

} // namespace

int main(int argc, char **argv)
{
    fs::path folder;
    try {
        const Options options = parseOptions(argc, argv);
        folder = makeTemporaryFolder();
        const Results results = runBenchmark(options, folder);
        printTable(options, results);
        printSummary(results);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "project-file-bench: %s\n", error.what());
        if (!folder.empty())
            fs::remove_all(folder);
        return 2;
    }
    fs::remove_all(folder);
    return 0;
}
