#pragma once
// "Cookies Manager": the sites of the cookies found on the left (cookie
// files, then the sites of the browsers' cookie databases), the cookies to
// keep on the right; OK saves the right list to "Cookies.dat", which the
// cookie cleaners honour.
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/Factory.h"

namespace nullvane::app {

class TfrmCookiesManager {
public:
    static constexpr char kFormName[] = "frmCookiesManager";
    static constexpr char kCaption[] = "Cookies Manager";
    static constexpr int kClientWidth = 510;
    static constexpr int kClientHeight = 328;

    // Fills both lists.
    TfrmCookiesManager(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner);

    // True when OK saved the keep list.
    bool Execute();

    std::unique_ptr<ui::TForm> Form;
    std::unique_ptr<ui::TLabel> Label1;
    std::unique_ptr<ui::TSelectionListBox> ListBox1;
    std::unique_ptr<ui::TLabel> Label2;
    std::unique_ptr<ui::TSelectionListBox> ListBox2;
    std::unique_ptr<ui::TButton> bAdd;
    std::unique_ptr<ui::TButton> bRemove;
    std::unique_ptr<ui::TButton> bAddAll;
    std::unique_ptr<ui::TButton> bRemoveAll;
    std::unique_ptr<ui::TButton> bView;
    std::unique_ptr<ui::TButton> bOK;
    std::unique_ptr<ui::TButton> bCancel;

    // The folder listed, with its trailing "\"; empty when there was none.
    std::string FCookieFolder;

    void bAddClick();
    void bRemoveClick();
    void bAddAllClick();
    void bRemoveAllClick();
    void ListBox1DblClick();
    void ListBox2DblClick();
    void bViewClick();
    void bOKClick();

private:
    void FillLists();
    void MoveToKeep(int index);
    void MoveToFound(int index);

    // Where an entry of the two lists came from: a cookie file, or the
    // browsers holding cookies of the site; neither for a site that came
    // from "Cookies.dat".
    struct TEntryOrigin {
        std::string File;
        std::vector<std::string> Browsers;
    };

    platform::Platform& machine_;
    // The origin of each entry of the two lists, at the same index.
    std::vector<TEntryOrigin> foundOrigins_;
    std::vector<TEntryOrigin> keepOrigins_;
};

}  // namespace nullvane::app
