#pragma once
// "Index.dat file viewer": lists the URLs an index.dat records with their
// times, opens a listed web address on double click, and has a hidden Delete
// (Ctrl+Alt+S shows it) that overwrites the file's records.
#include <memory>
#include <string>

#include "indexdat/IndexDatReader.h"
#include "platform/Platform.h"
#include "ui/Factory.h"

namespace nullvane::app {

class TfrmIndexDatViewer {
public:
    static constexpr char kFormName[] = "frmIndexDatViewer";
    static constexpr char kCaption[] = "Index.dat file viewer";
    static constexpr int kClientWidth = 676;
    static constexpr int kClientHeight = 501;

    TfrmIndexDatViewer(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner);
    ~TfrmIndexDatViewer();
    TfrmIndexDatViewer(const TfrmIndexDatViewer&) = delete;
    TfrmIndexDatViewer& operator=(const TfrmIndexDatViewer&) = delete;

    // Names the browser's cache index and runs the window until it closes.
    void Execute();

    std::unique_ptr<ui::TForm> Form;
    std::unique_ptr<ui::TGroupBox> GroupBox1;
    std::unique_ptr<ui::TEdit> eFileName;
    std::unique_ptr<ui::TButton> bBrowseFolder;
    std::unique_ptr<ui::TReportListView> lvIndexDat;
    std::unique_ptr<ui::TGroupBox> GroupBox2;
    std::unique_ptr<ui::TLabel> Label1;
    std::unique_ptr<ui::TPanel> Panel1;
    std::unique_ptr<ui::TLabel> lRecordCount;
    std::unique_ptr<ui::TProgressBar> ProgressBar1;
    std::unique_ptr<ui::TPanel> Panel2;
    std::unique_ptr<ui::TButton> bShowDetail;
    std::unique_ptr<ui::TButton> bShow;
    std::unique_ptr<ui::TButton> bDelete;
    std::unique_ptr<ui::TButton> bClose;
    ui::TMenuItem PopupMenu1;
    ui::TMenuItem* Show1 = nullptr;

    // The records shown: URLs in file order with their image index, and the
    // time text of each.
    indexdat::TIndexDatLists Lists;

    [[nodiscard]] bool Reading() const { return reading_; }

    void bBrowseFolderClick();
    void bShowDetailClick();
    void bShowClick();
    void bDeleteClick();
    void lvIndexDatData(int index, ui::TListItemData& item) const;
    void lvIndexDatDblClick();

private:
    class TReadProgress;
    void SetReading(bool reading);

    platform::Platform& machine_;
    ui::TControlFactory& controls_;
    bool reading_ = false;
};

// True for the texts a double click opens: web and FTP addresses
// ("http://", "https://", "ftp://" in any letter case). A record's text comes
// from a file and could as well name a program.
[[nodiscard]] bool IsOpenableAddress(const std::string& text);

}  // namespace nullvane::app
