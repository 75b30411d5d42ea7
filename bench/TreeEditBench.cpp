// The design tree's commands in the real window, with the real tree widget, on large projects:
//   tree-edit-bench commands SHAPE RUNS  Move Up, Delete, Insert and a tooltip edit, each with
//                                        its Undo, on the middle item of a 10,000-item project
//                                        (SHAPE flat: all on the top level; nested: 100 items
//                                        of 9 children of 10 children, timed on a top-level
//                                        item with its 99 and on a leaf of the third level)
//   tree-edit-bench open ITEMS RUNS      a project of ITEMS items opened into a new window,
//                                        then RUNS - 1 times again over itself
//   tree-edit-bench history STEPS...     moves, tooltip edits, inserts and deletes on the flat
//                                        10,000 items: the history's own count of its bytes,
//                                        the growth of the heap in use and of the process's
//                                        resident memory, after each number of steps
// A command is timed until the event loop is idle again, so the widget's relayout and
// repaint count as the user waits for them; the table gives that time (median, worst and
// their ratio to the goal), the part of it after the command returned, and the GUI thread's
// CPU time. Goals: a command within one 16 ms frame, an open of 1,000 items under 100 ms,
// and a history that stops growing at the 1,000 steps it keeps.

#include "EditorPrompts.h"
#include "TMainForm.h"
#include "model/InMemoryDesignTree.h"
#include "platform/MemorySettingsStore.h"
#include "ui_TMainForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr double frameMs = 16.0;
constexpr double openGoalMs = 100.0;

// Every question is answered yes (Delete asks first) and no dialog is ever shown. An error
// means a command did not run, so none may be shown.
class YesPrompts : public EditorPrompts
{
public:
    void showError(const std::string &text) override { errors.push_back(text); }
    Answer askYesNoCancel(const std::string &) override { return Answer::yes; }
    bool askYesNo(const std::string &) override { return true; }
    std::optional<std::string> chooseFileToOpen(const std::string &, const std::string &) override
    {
        return {};
    }
    std::vector<std::string> choosePictures(const std::string &) override { return {}; }
    std::optional<std::string> choosePictureFolder(const std::string &) override { return {}; }
    std::optional<std::string> chooseFileToSave(const std::string &, const std::string &) override
    {
        return {};
    }
    std::optional<QColor> chooseColour(const QColor &) override { return {}; }
    std::optional<std::string> chooseProgram() override { return {}; }
    void showLinkTip() override {}
    void showAbout() override {}
    void showWebBrowser() override {}
    TemplateChoice chooseTemplate(const fs::path &) override { return {false, {}}; }
    void showHtmlCode(const std::string &) override {}
    void showPublishReport(const std::string &) override {}

    std::vector<std::string> errors;
};

class NoLauncher : public Launcher
{
public:
    bool openWithDefault(const std::string &) override { return true; }
    bool startProgram(const std::string &, const std::string &) override { return true; }
};

void require(bool condition, const char *what)
{
    if (!condition)
        throw std::runtime_error(std::string("the command did not do its work: ") + what);
}

// Items made by the core as the editor's Insert makes them, in depth-first order so the
// tree's index stays valid while it grows. `fanOut` gives the children per node of each
// level: {10000} is flat, {100, 9, 10} three levels of 10,000 items in all.
std::string projectOf(const std::vector<int> &fanOut, const fs::path &folder)
{
    TzybAppletAgent agent(folder);
    agent.SetDefaults();
    InMemoryDesignTree tree;
    int made = 0;
    std::function<void(DesignTree::Node, std::size_t)> fill = [&](DesignTree::Node parent,
                                                                  std::size_t level) {
        for (int i = 0; i < fanOut[level]; ++i) {
            const DesignTree::Node node = agent.insertChildItem(tree, parent);
            TItemData item = agent.GetItem(made);
            item.IOriginalImagePath = "/photos/photo-" + std::to_string(made) + ".jpg";
            item.ILink = "https://example.org/" + std::to_string(made) + ".html";
            item.IToolTip = "Photo " + std::to_string(made);
            agent.SetItem(item, made++);
            if (level + 1 < fanOut.size())
                fill(node, level + 1);
        }
    };
    fill(tree.root(), 0);
    const std::string file = (folder / "big.jfs").string();
    agent.SaveToFile(file);
    return file;
}

// Until nothing is pending: queued repaints, the view's delayed relayout, posted events.
void settle()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10000);
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The time the user waits, the part of it spent after the command returned (layout and
// paint of the events it left), and the GUI thread's own CPU time, which other programs on
// a busy machine do not inflate.
struct Sample
{
    double wall = 0, events = 0, cpu = 0;
};

Sample timed(const std::function<void()> &command)
{
    const double cpuStart = threadCpuMs();
    QElapsedTimer timer;
    timer.start();
    command();
    const double ran = double(timer.nsecsElapsed()) / 1e6;
    settle();
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    return {wall, wall - ran, threadCpuMs() - cpuStart};
}

// The editor over a scratch folder of its own, shown, with a project open.
struct BenchWindow
{
    explicit BenchWindow(const fs::path &folder)
        : scratch((fs::create_directories(folder / "scratch"), folder / "scratch")),
          folders(
              AppFolders::forProgram(fs::path(QCoreApplication::applicationDirPath().toStdString()))
                  .resources(),
              scratch),
          project(folders), window(prompts, settings, launcher, folders, project)
    {
        // How much the tree and the pages paint follows the size: a usual window's.
        window.resize(1000, 700);
        window.show();
        settle();
    }
    ~BenchWindow() { window.commands().setModified(false); }

    QTreeWidget &tree() { return *window.ui().trvwDesignPanel; }
    // Every item with children opened, as a user opens each level, so that all rows show.
    // Not Qt's expandAll: it also marks every leaf open, a tracked index each, and makes
    // every row the widget inserts or takes out cost more.
    void expandParents()
    {
        for (int i = 0, n = core().count(); i < n; ++i)
            if (const DesignTree::Node node = core().nodeAt(i); core().childCount(node) > 0)
                window.treeView().itemOf(node)->setExpanded(true);
        settle();
    }
    InMemoryDesignTree &core() { return window.designTree(); }
    int items() { return window.agent().itemCount(); }
    void select(DesignTree::Node node)
    {
        tree().setCurrentItem(window.treeView().itemOf(node));
        settle();
    }
    // An action as the tool bar and the menus trigger it; a disabled one would do nothing.
    Sample trigger(QAction *action)
    {
        require(action->isEnabled(), "the action is offered");
        const Sample sample = timed([action] { action->trigger(); });
        requireNoError();
        return sample;
    }
    // The tooltip typed into the selected item's page, ended as Return or a focus change end it.
    Sample editToolTip(const QString &text)
    {
        QLineEdit *edit = window.ui().edt_IToolTip;
        edit->setText(text);
        const Sample sample = timed([edit] { Q_EMIT edit->editingFinished(); });
        requireNoError();
        return sample;
    }
    void requireNoError()
    {
        if (!prompts.errors.empty())
            throw std::runtime_error("the editor showed an error: " + prompts.errors.front());
    }

    MemorySettingsStore settings;
    YesPrompts prompts;
    NoLauncher launcher;
    fs::path scratch;
    AppFolders folders;
    EditorProject project;
    TMainForm window;
};

struct Figures
{
    std::vector<Sample> samples;
    std::vector<double> of(double Sample::*part) const
    {
        std::vector<double> values;
        for (const Sample &sample : samples)
            values.push_back(sample.*part);
        std::sort(values.begin(), values.end());
        return values;
    }
    double median(double Sample::*part) const
    {
        const std::vector<double> v = of(part);
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    double worst(double Sample::*part) const { return of(part).back(); }
};

void printHeader(double goal)
{
    const std::string perGoal = "/" + std::to_string(int(goal)) + "ms";
    std::printf("%-34s %-20s %7s %7s %11s %11s %8s %8s %8s\n", "project, item", "command", "median",
                "worst", ("median" + perGoal).c_str(), ("worst" + perGoal).c_str(), "events", "cpu",
                "cpu");
    std::printf("%-34s %-20s %7s %7s %11s %11s %8s %8s %8s\n", "", "", "", "", "", "", "median",
                "median", "worst");
}

// Ratios and verdicts go by the time the user waits.
void printRow(const std::string &what, const std::string &command, const Figures &f, double goal)
{
    const double median = f.median(&Sample::wall), worst = f.worst(&Sample::wall);
    std::printf("%-34s %-20s %7.2f %7.2f %10.2fx %10.2fx %8.2f %8.2f %8.2f  %s\n", what.c_str(),
                command.c_str(), median, worst, median / goal, worst / goal,
                f.median(&Sample::events), f.median(&Sample::cpu), f.worst(&Sample::cpu),
                worst <= goal ? "PASS" : (median <= goal ? "MISS (worst)" : "MISS"));
}

// A scratch folder of the run's own, removed at the end even when a command failed.
struct ScratchFolder
{
    ScratchFolder()
        : path(fs::temp_directory_path() / ("velloria-tree-edit-bench-" + std::to_string(getpid())))
    {
        fs::create_directories(path);
    }
    ~ScratchFolder() { fs::remove_all(path); }
    fs::path path;
};

// The item a command acts on: the middle child of the root, and on down the middle children
// for `depth` levels.
DesignTree::Node middleItem(const DesignTree &tree, int depth)
{
    DesignTree::Node node = tree.root();
    for (int level = 0; level < depth; ++level)
        node = tree.child(node, tree.childCount(node) / 2);
    return node;
}

struct CommandTimes
{
    Figures moveUp, undoMove, remove, undoRemove, insert, toolTip;
};

// Each command is undone after it (an Insert or tooltip edit untimed), so every run starts
// from the project as it was opened.
void timeCommands(BenchWindow &bench, int depth, int run, CommandTimes &times)
{
    Ui::TMainForm &ui = bench.window.ui();
    QAction *undo = &bench.window.undoAction();
    const EditHistory &history = bench.window.commands().history();
    const int items = bench.items();
    bench.select(middleItem(bench.core(), depth));
    times.moveUp.samples.push_back(bench.trigger(ui.MoveUp2));
    require(history.undoName() == "Move Up", "Move Up");
    times.undoMove.samples.push_back(bench.trigger(undo));
    require(history.redoName() == "Move Up", "Undo of Move Up");
    bench.select(middleItem(bench.core(), depth));
    times.remove.samples.push_back(bench.trigger(ui.Delete2));
    require(bench.items() < items, "Delete");
    times.undoRemove.samples.push_back(bench.trigger(undo));
    require(bench.items() == items, "Undo of Delete");
    bench.select(bench.core().root());
    times.insert.samples.push_back(bench.trigger(ui.Insert2));
    require(bench.items() == items + 1, "Insert");
    bench.trigger(undo);
    const DesignTree::Node tipped = middleItem(bench.core(), depth);
    bench.select(tipped);
    const std::string tip = "Tip " + std::to_string(run);
    times.toolTip.samples.push_back(bench.editToolTip(QString::fromStdString(tip)));
    require(bench.window.agent().GetItem(bench.core().absoluteIndex(tipped) - 1).IToolTip == tip,
            "tooltip edit");
    bench.trigger(undo);
}

void printCommandRows(const std::string &what, const CommandTimes &t)
{
    printRow(what, "Move Up", t.moveUp, frameMs);
    printRow("", "Undo (Move Up)", t.undoMove, frameMs);
    printRow("", "Delete", t.remove, frameMs);
    printRow("", "Undo (Delete)", t.undoRemove, frameMs);
    printRow("", "Insert (on the root)", t.insert, frameMs);
    printRow("", "tooltip edit", t.toolTip, frameMs);
}

int commands(const std::string &shape, int runs)
{
    const bool nested = shape == "nested";
    if (!nested && shape != "flat")
        throw std::runtime_error("the shape is flat or nested, not " + shape);
    ScratchFolder folder;
    const std::string file =
        projectOf(nested ? std::vector{100, 9, 10} : std::vector{10000}, folder.path);
    BenchWindow bench(folder.path);
    bench.window.commands().openProjectFile(file);
    struct Target
    {
        const char *what;
        int depth;
    };
    const std::vector<Target> targets =
        nested ? std::vector<Target>{{"nested 10,000, top-level, 99 below", 1},
                                     {"nested 10,000, third-level leaf", 3}}
               : std::vector<Target>{{"flat 10,000, middle item", 1}};
    printHeader(frameMs);
    for (const Target &target : targets) {
        CommandTimes times;
        for (int run = 0; run < runs; ++run) {
            // Undo of a Delete brings the items back closed: each run starts all open again.
            if (nested)
                bench.expandParents();
            timeCommands(bench, target.depth, run, times);
        }
        printCommandRows(target.what, times);
    }
    return 0;
}

int open(int items, int runs)
{
    ScratchFolder folder;
    const std::string file = projectOf({items}, folder.path);
    BenchWindow bench(folder.path);
    printHeader(openGoalMs);
    Figures first, again;
    for (int run = 0; run < runs; ++run) {
        (run == 0 ? first : again).samples.push_back(timed([&] {
            bench.window.commands().openProjectFile(file);
        }));
        require(bench.items() == items, "Open");
    }
    std::string count = std::to_string(items);
    for (int at = int(count.size()) - 3; at > 0; at -= 3)
        count.insert(std::size_t(at), ",");
    const std::string what = "open " + count + " items";
    printRow(what, "into a new window", first, openGoalMs);
    printRow("", "over the same, again", again, openGoalMs);
    return 0;
}

// The bytes the allocator has handed out and not had back: unlike the resident memory, this
// does not keep what was freed, so it checks the history's own count of its bytes.
double heapInUseKb()
{
    return double(mallinfo2().uordblks) / 1024.0;
}

double residentMb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// One step of a session's mix, in turn: the middle item moved up, its tooltip edited, an
// item inserted, the middle item deleted; the project keeps its 10,000 items.
void mixedStep(BenchWindow &bench, int step)
{
    Ui::TMainForm &ui = bench.window.ui();
    switch (step % 4) {
    case 0:
        bench.select(middleItem(bench.core(), 1));
        bench.trigger(ui.MoveUp2);
        break;
    case 1:
        bench.select(middleItem(bench.core(), 1));
        bench.editToolTip(QStringLiteral("Tooltip of step %1").arg(step));
        break;
    case 2:
        bench.select(bench.core().root());
        bench.trigger(ui.Insert2);
        break;
    default:
        bench.select(middleItem(bench.core(), 1));
        bench.trigger(ui.Delete2);
    }
}

// The resident memory grows by what the steps keep and by whatever the allocator and Qt
// keep of what was freed; once the history drops a step for each new one, both must stop.
int history(const std::vector<int> &checkpoints)
{
    ScratchFolder folder;
    const std::string file = projectOf({10000}, folder.path);
    BenchWindow bench(folder.path);
    // One round of each step first, then the project again with an empty history: the
    // baseline then holds what the first commands and pages allocate once, not the history.
    bench.window.commands().openProjectFile(file);
    for (int step = 0; step < 4; ++step)
        mixedStep(bench, step);
    bench.window.commands().setModified(false);
    bench.window.commands().openProjectFile(file);
    settle();
    const EditHistory &kept = bench.window.commands().history();
    const double baseline = residentMb(), heapBaseline = heapInUseKb();
    std::printf("%-12s %-12s %12s %14s %16s %16s\n", "steps made", "steps kept", "history KB",
                "bytes per step", "heap growth KB", "RSS growth MB");
    int made = 0;
    std::vector<double> growth, heap;
    std::vector<std::size_t> bytes;
    for (const int checkpoint : checkpoints) {
        for (; made < checkpoint; ++made)
            mixedStep(bench, made);
        require(kept.steps() == std::min<std::size_t>(std::size_t(made), 1000), "the steps kept");
        require(bench.items() == 10000 + (made % 4 == 3 ? 1 : 0), "the project's size");
        growth.push_back(residentMb() - baseline);
        heap.push_back(heapInUseKb() - heapBaseline);
        bytes.push_back(kept.bytes());
        std::printf("%-12d %-12zu %12.1f %14.0f %16.1f %16.1f\n", made, kept.steps(),
                    double(kept.bytes()) / 1024.0, double(kept.bytes()) / double(kept.steps()),
                    heap.back(), growth.back());
    }
    // Bounded: past the 1,000 steps kept, neither the history nor the heap nor the process
    // grows on (a tenth of the history's size and 2 MB leave room for the allocator's noise).
    const auto full = std::size_t(
        std::find_if(checkpoints.begin(), checkpoints.end(), [](int c) { return c >= 1000; }) -
        checkpoints.begin());
    if (full + 1 < checkpoints.size()) {
        const double laterBytes = double(bytes.back()) / double(bytes[full]);
        const double laterHeap = heap.back() - heap[full];
        const double laterGrowth = growth.back() - growth[full];
        const bool bounded = laterBytes <= 1.05 &&
                             laterHeap <= double(bytes[full]) / 1024.0 / 10.0 && laterGrowth <= 2.0;
        std::printf("from %d to %d steps: history bytes x%.2f, heap %+.1f KB, RSS %+.1f MB  %s\n",
                    checkpoints[full], checkpoints.back(), laterBytes, laterHeap, laterGrowth,
                    bounded ? "PASS" : "MISS");
    }
    return 0;
}

// The offscreen platform says for every window that it cannot pass size hints on, which
// would break up the table; every other message goes through.
void dropSizeHintNotes(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!text.contains(QStringLiteral("propagateSizeHints")))
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int main(int argc, char **argv)
{
    // The widget's own work is measured without a display, as in the editor's tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropSizeHintNotes);
    QApplication application(argc, argv);
    const std::string what = argc > 1 ? argv[1] : "";
    try {
        if (what == "commands" && argc > 3)
            return commands(argv[2], std::atoi(argv[3]));
        if (what == "open" && argc > 3)
            return open(std::atoi(argv[2]), std::atoi(argv[3]));
        if (what == "history" && argc > 2) {
            std::vector<int> checkpoints;
            for (int i = 2; i < argc; ++i)
                checkpoints.push_back(std::atoi(argv[i]));
            return history(checkpoints);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tree-edit-bench: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: tree-edit-bench commands flat|nested RUNS | open ITEMS RUNS | "
                         "history STEPS...\n");
    return 2;
}
