#pragma once

// The project agent: owns the slide show's parameters and items, keeps the item list in
// step with the design tree, reads and writes project files and keeps the preview folder.
// The item list is the design tree in depth-first order without the root. The outputs made
// from it (page, slides, site) are the generator's (ShowGenerator), a layer above.

#include "AppletRecords.h"
#include "DesignTree.h"
#include "MessageSink.h"
#include "PreviewFolder.h"
#include "ProgressDisplay.h"
#include "platform/AppFolders.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

enum class LoadResult {
    Loaded,
    Incomplete, // the file ends inside the item section: the items read so far were kept
    NoItemList, // the file ends after the parameters, before any item section: no items
    NoProject,  // empty, or without the tags of a project; nothing changed
    Refused,    // another program's file; nothing changed
};

class TzybAppletAgent
{
public:
    // The runtime script comes from the resources; the generated scripts and the preview
    // folder go to the scratch folder, the "installation folder" of the commands.
    explicit TzybAppletAgent(const AppFolders &folders);
    // Resources and writable things in one folder.
    explicit TzybAppletAgent(const std::filesystem::path &installFolder);

    void setProgressDisplay(ProgressDisplay *progress);
    void setMessageSink(MessageSink *messages);
    ProgressDisplay &progress() const { return *m_progress; }

    void SetDefaults();
    TItemData NewItemData() const;
    TAppletData GetAppletData() const { return AppletData; }
    void SetAppletData(const TAppletData &data) { AppletData = data; }
    TItemData GetItem(int index) const;
    void SetItem(const TItemData &item, int index);
    void InsertItem(int index, const TItemData &item);
    void DeleteItem(int index);
    void ExchangeWithPrevious(int index);

    static TStringArray AppletDataToStrings(const TAppletData &data);
    static TAppletData StringsToAppletData(const TStringArray &strings);
    static TStringArray ItemDataToStrings(const TItemData &item);
    static TItemData StringsToItemData(const TStringArray &strings);

    void UpdateLevelsFromTree(const DesignTree &tree);
    void BuildTreeFromLevels(DesignTree &tree) const;

    // A subtree's items as taken out of the project: enough to put it back as it was.
    struct ItemBlock
    {
        TItemArray items;                  // in depth-first order
        std::vector<int> depths;           // below the block's first node, which has 0
        std::vector<std::string> captions; // what the tree showed
    };

    // The editor's item commands: each changes tree and list in step.
    DesignTree::Node insertChildItem(DesignTree &tree, DesignTree::Node selected);
    void deleteItemSubtree(DesignTree &tree, DesignTree::Node selected);
    void moveItemUp(DesignTree &tree, DesignTree::Node selected);
    void moveItemDown(DesignTree &tree, DesignTree::Node selected);
    // Takes node with its subtree out of tree and list.
    ItemBlock takeSubtree(DesignTree &tree, DesignTree::Node node);
    // Puts a block in as the child at `position` of parent and returns its first node.
    DesignTree::Node putSubtree(DesignTree &tree, DesignTree::Node parent, int position,
                                const ItemBlock &block);
    // Moves node with its subtree to `position` among parent's children (counted without
    // it); the items' levels follow. False, changing nothing, into its own subtree.
    bool moveSubtree(DesignTree &tree, DesignTree::Node node, DesignTree::Node parent,
                     int position);

    void SaveToFile(const std::string &fileName) const;
    // Whatever happens, the tree shows exactly the agent's items afterwards.
    LoadResult LoadFromFile(const std::string &fileName, DesignTree &tree);
    // The same from a file's bytes already in memory.
    LoadResult loadFromText(std::string_view text, DesignTree &tree);

    // "show.JFS" -> "show": every occurrence of the name's extension goes, ignoring case.
    static std::string publishedName(const std::string &fileName);
    // The project file a save writes for the name chosen: "demo" and "demo.jfs" write
    // demo.jfs, "show.JFS" keeps its spelling.
    static std::string projectFileName(const std::string &fileName);

    void CopyToPreview(const std::string &fileName);
    void CopyScriptFilesToPreview(const std::string &folder);
    void CopyResourceFiles(const std::string &folder);
    void ClearPreview();

    int itemCount() const { return static_cast<int>(Items.size()); }
    const TItemArray &items() const { return Items; }
    // The generator writes what it derives back in place: numbers in their plain spelling,
    // slide sizes and names, converted links.
    TItemArray &items() { return Items; }
    TAppletData &appletData() { return AppletData; }
    PreviewFolder &preview() { return m_preview; }
    const TStringArray &scriptFileNames() const { return ScriptFileNames; }
    const TStringArray &previewFiles() const { return m_preview.files(); }
    const std::filesystem::path &previewFolder() const { return m_preview.folder(); }
    const std::string &separator() const { return Separator; }
    const std::filesystem::path &installFolder() const { return m_installFolder; }
    const std::filesystem::path &runtimeScript() const { return m_runtimeScript; }

private:
    LoadResult applyLoaded(struct ProjectFileContent &content);
    void finishLoad(DesignTree &tree);
    static void resetTree(DesignTree &tree);
    void swapBlocks(int firstOfSecondBlock, int blockBefore, int blockAfter);
    static int descendantCount(const DesignTree &tree, DesignTree::Node node);
    void refreshBlockLevels(const DesignTree &tree, DesignTree::Node first);

    TAppletData AppletData;
    TItemArray Items;
    TStringArray ScriptFileNames;
    std::string Separator;
    std::filesystem::path m_installFolder;
    std::filesystem::path m_runtimeScript;
    PreviewFolder m_preview;
    ProgressDisplay *m_progress;
    MessageSink *m_messages = nullptr;
};
