// The editor measured inside its own process:
//   editor-bench start                 starts as velloria does and quits once idle
//   editor-bench open ITEMS            opens a project of ITEMS items in the window (ms)
//   editor-bench preview PROJECT       previews PROJECT with a warm slide cache, from the
//                                      command to the browser's start (ms)
//   editor-bench save PROJECT          saves PROJECT in the window with an empty slide cache:
//                                      total ms and the longest gap between turns of the
//                                      event loop, during which the window cannot repaint
//   editor-bench pictures PHOTO...     opens a project of the photos: ms to the tree's first
//                                      paint, to every item's small picture with none made
//                                      (cold) and with all made before (warm, a second open),
//                                      and the longest gap between turns of the event loop
// bench/run-editor-bench runs them against their floors and prints the goals.

#include "EditorStart.h"
#include "PictureLoader.h"
#include "QtLauncher.h"
#include "QtUserPrompts.h"
#include "TMainForm.h"
#include "generate/SlideCache.h"
#include "model/InMemoryDesignTree.h"
#include "platform/MemorySettingsStore.h"
#include "ui_TMainForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

AppFolders benchFolders()
{
    return AppFolders::forProgram(fs::path(QCoreApplication::applicationDirPath().toStdString()));
}

// What velloria's main() does before its event loop.
int start()
{
    EditorStart editor;
    editor.window.show();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return QApplication::exec();
}

std::string projectOf(int items, const fs::path &folder)
{
    TzybAppletAgent agent(folder);
    agent.SetDefaults();
    InMemoryDesignTree tree;
    for (int i = 0; i < items; ++i) {
        agent.insertChildItem(tree, tree.root());
        TItemData item = agent.GetItem(i);
        item.IOriginalImagePath = "/photos/photo-" + std::to_string(i) + ".jpg";
        item.ILink = "https://example.org/" + std::to_string(i) + ".html";
        agent.SetItem(item, i);
    }
    const std::string file = (folder / "big.jfs").string();
    agent.SaveToFile(file);
    return file;
}

// The editor as the program builds it, over a writable folder of the benchmark's own.
struct BenchEditor
{
    BenchEditor(Launcher &launcher, const fs::path &writable)
        : prompts(nullptr, settings, launcher), folders(benchFolders().resources(), writable),
          project(folders), window(prompts, settings, launcher, folders, project)
    {}
    MemorySettingsStore settings;
    QtUserPrompts prompts;
    AppFolders folders;
    EditorProject project;
    TMainForm window;
};

int open(int items)
{
    const fs::path folder = fs::temp_directory_path() / "velloria-editor-bench";
    fs::create_directories(folder);
    const std::string file = projectOf(items, folder);
    QtLauncher launcher;
    BenchEditor editor(launcher, folder);
    TMainForm &window = editor.window;
    window.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    window.commands().openProjectFile(file);
    QApplication::processEvents();
    std::printf("open %d items: %.1f ms\n", items, double(timer.nsecsElapsed()) / 1e6);
    fs::remove_all(folder);
    return 0;
}

// A window over a scratch writable folder of its own with a project open, removed after.
struct ProjectWindow
{
    ProjectWindow(Launcher &launcher, const char *file)
        : scratch(fs::temp_directory_path() / "velloria-editor-bench-window"),
          editor(launcher, (fs::create_directories(scratch), scratch)), window(editor.window)
    {
        window.show();
        window.commands().openProjectFile(file);
    }
    ~ProjectWindow()
    {
        window.commands().setModified(false);
        fs::remove_all(scratch);
    }
    fs::path scratch;
    BenchEditor editor;
    TMainForm &window;
};

// A zero-interval timer fires at every turn of the event loop that the save allows.
int save(const char *project)
{
    QtLauncher launcher;
    ProjectWindow opened(launcher, project);
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.nsecsElapsed() - last);
        last = clock.nsecsElapsed();
    });
    turns.start(0);
    clock.start();
    opened.window.commands().saveAsPath((opened.scratch / "show.jfs").string());
    const qint64 total = clock.nsecsElapsed();
    longest = std::max(longest, total - last);
    std::printf("save: %.1f ms, longest gap %.1f ms\n", double(total) / 1e6, double(longest) / 1e6);
    return 0;
}

// Stands in for the browser: the moment it would start ends the measurement.
class StopwatchLauncher : public Launcher
{
public:
    bool openWithDefault(const std::string &) override
    {
        stopped = timer.nsecsElapsed();
        return true;
    }
    bool startProgram(const std::string &, const std::string &) override
    {
        stopped = timer.nsecsElapsed();
        return true;
    }
    QElapsedTimer timer;
    qint64 stopped = 0;
};

// Preview with a warm slide cache: from the command to the browser being started.
int preview(const char *project)
{
    StopwatchLauncher launcher;
    ProjectWindow opened(launcher, project);
    TMainForm &window = opened.window;
    window.Preview1Click(); // fills the cache
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        launcher.timer.start();
        window.Preview1Click();
        times.push_back(double(launcher.stopped) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("preview: %.1f ms\n", times[times.size() / 2]);
    return 0;
}

// Notes the first paint of a widget after it is armed.
class PaintWatch : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && painted < 0)
            painted = clock->nsecsElapsed();
        return false;
    }
    const QElapsedTimer *clock = nullptr;
    qint64 painted = -1;
};

// A 1 ms timer fires at the first turn of the event loop after each millisecond; the longest
// gap between two is the longest time the window could not answer. A zero-interval timer
// would keep the window's thread spinning and take a core from the decoding it measures.
struct TurnWatch
{
    explicit TurnWatch(const QElapsedTimer &c) : clock(c)
    {
        QObject::connect(&turns, &QTimer::timeout, [this] {
            longest = std::max(longest, clock.nsecsElapsed() - last);
            last = clock.nsecsElapsed();
        });
        turns.setTimerType(Qt::PreciseTimer);
        turns.start(1);
    }
    const QElapsedTimer &clock;
    QTimer turns;
    qint64 last = 0, longest = 0;
};

// Opens the project and asks for every item's icon, as scrolling through the whole tree would,
// until all are shown: ms to the first paint of the tree, to all pictures, and the longest gap.
void openAndShowAll(TMainForm &window, const std::string &file, const QStringList &photos)
{
    QTreeWidget &tree = *window.ui().trvwDesignPanel;
    QElapsedTimer clock;
    PaintWatch paint;
    paint.clock = &clock;
    tree.viewport()->installEventFilter(&paint);
    clock.start();
    TurnWatch turns(clock);
    window.commands().openProjectFile(file);
    // Each row's icon is asked for as a paint would; a picture counts once the loader has it.
    const QSize box = tree.iconSize() * tree.devicePixelRatioF();
    const auto shown = [&](QTreeWidgetItem *item) {
        item->icon(0);
        return window.pictures()
                   .picture(photos[tree.topLevelItem(0)->indexOfChild(item)], box)
                   .state == PictureLoader::Picture::State::shown;
    };
    // The rows in view first, as the user sees them, then all.
    const auto allShown = [&](bool inViewOnly) {
        bool all = true;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if ((*it)->parent() &&
                (!inViewOnly || tree.visualItemRect(*it).intersects(tree.viewport()->rect())))
                all = shown(*it) && all;
        return all;
    };
    while (!allShown(true) && clock.elapsed() < 60'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    const qint64 inView = clock.nsecsElapsed();
    while (!allShown(false) && clock.elapsed() < 60'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 all = clock.nsecsElapsed();
    while (paint.painted < 0 && clock.elapsed() < 60'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    tree.viewport()->removeEventFilter(&paint);
    turns.longest = std::max(turns.longest, clock.nsecsElapsed() - turns.last);
    std::printf("first paint %.1f ms, all %d pictures %.1f ms, longest gap %.1f ms, "
                "those in view %.1f ms\n",
                double(paint.painted) / 1e6, int(photos.size()), double(all) / 1e6,
                double(turns.longest) / 1e6, double(inView) / 1e6);
}

int pictures(int count, char **photos)
{
    const fs::path folder = fs::temp_directory_path() / "velloria-editor-bench-pictures";
    fs::create_directories(folder);
    TzybAppletAgent agent(folder);
    agent.SetDefaults();
    InMemoryDesignTree tree;
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        agent.insertChildItem(tree, tree.root());
        TItemData item = agent.GetItem(i);
        item.IOriginalImagePath = fs::absolute(photos[i]).string();
        paths.push_back(QString::fromStdString(item.IOriginalImagePath));
        agent.SetItem(item, i);
    }
    const std::string file = (folder / "pictures.jfs").string();
    agent.SaveToFile(file);
    QtLauncher launcher;
    BenchEditor editor(launcher, folder);
    TMainForm &window = editor.window;
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
    std::printf("cold: ");
    openAndShowAll(window, file, paths);
    std::printf("warm: ");
    openAndShowAll(window, file, paths);
    window.commands().setModified(false);
    fs::remove_all(folder);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "start")
        return start();
    if (what == "open" && argc > 2)
        return open(std::atoi(argv[2]));
    if (what == "save" && argc > 2)
        return save(argv[2]);
    if (what == "preview" && argc > 2)
        return preview(argv[2]);
    if (what == "pictures" && argc > 2)
        return pictures(argc - 2, argv + 2);
    std::fprintf(stderr,
                 "usage: editor-bench start | open ITEMS | save PROJECT | preview PROJECT | "
                 "pictures PHOTO...\n");
    return 2;
}
