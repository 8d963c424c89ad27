#include "ui/win32/Win32ListControls.h"

#include <algorithm>

namespace nullvane::ui::win32 {

HIMAGELIST MakeImageList(const TImageList& images) {
    HIMAGELIST list = ImageList_Create(images.Width, images.Height, ILC_COLOR24 | ILC_MASK,
                                       static_cast<int>(images.Images.size()), 0);
    if (!list) return nullptr;
    const int width = images.Width;
    const int height = images.Height;
    // Mask rows are padded to whole 16-bit words; a set bit is transparent.
    const int maskStride = (width + 15) / 16 * 2;
    for (const TImage& image : images.Images) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!colour || !bits) {
            if (colour) DeleteObject(colour);
            continue;
        }
        std::vector<unsigned char> mask(static_cast<size_t>(maskStride) * height, 0);
        auto* pixels = static_cast<uint32_t*>(bits);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const size_t at = static_cast<size_t>(y) * width + x;
                const uint32_t argb = at < image.Pixels.size() ? image.Pixels[at] : 0;
                const bool transparent = (argb >> 24) < 0x80;
                // A DIB pixel is 0x00RRGGBB, as the picture's colour part.
                pixels[at] = transparent ? 0 : (argb & 0x00FFFFFF);
                if (transparent) mask[static_cast<size_t>(y) * maskStride + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
        HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, mask.data());
        ImageList_Add(list, colour, maskBitmap);
        DeleteObject(maskBitmap);
        DeleteObject(colour);
    }
    return list;
}

// The report list.

TWin32ReportListView::TWin32ReportListView(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, WC_LISTVIEWW,
           WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
           WS_EX_CLIENTEDGE);
}

TWin32ReportListView::~TWin32ReportListView() {
    // The list shares the image list: it lets go of it before it is destroyed.
    if (window_) SendMessageW(window_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

void TWin32ReportListView::SetColumns(const std::vector<TListColumn>& columns) {
    while (SendMessageW(window_, LVM_DELETECOLUMN, 0, 0)) {
    }
    columns_ = columns;
    for (size_t i = 0; i < columns.size(); ++i) {
        std::wstring header = W(columns[i].Caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = header.data();
        column.cx = columns[i].Width;
        column.iSubItem = static_cast<int>(i);
        SendMessageW(window_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void TWin32ReportListView::SetSmallImages(const TImageList& images) {
    SendMessageW(window_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    images_.Reset(MakeImageList(images));
    imageCount_ = images_.Get() ? ImageList_GetImageCount(images_.Get()) : 0;
    SendMessageW(window_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.Get()));
}

void TWin32ReportListView::SetRowSelect(bool rowSelect) {
    rowSelect_ = rowSelect;
    SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, rowSelect ? LVS_EX_FULLROWSELECT : 0);
}

void TWin32ReportListView::SetItemCount(int count) {
    cachedIndex_ = -1;
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    SendMessageW(window_, LVM_SETITEMCOUNT, static_cast<WPARAM>(std::max(count, 0)), 0);
    InvalidateRect(window_, nullptr, TRUE);
}

int TWin32ReportListView::ItemCount() const { return static_cast<int>(SendMessageW(window_, LVM_GETITEMCOUNT, 0, 0)); }

int TWin32ReportListView::SelectedIndex() const {
    return static_cast<int>(SendMessageW(window_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

const TListItemData& TWin32ReportListView::Row(int index) {
    if (index != cachedIndex_) {
        cached_ = {};
        cachedIndex_ = -1;
        if (onData) onData(index, cached_);
        cachedIndex_ = index;
    }
    return cached_;
}

bool TWin32ReportListView::Notify(NMHDR* header, LRESULT& result) {
    if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        LVITEMW& item = info->item;
        if (item.iItem < 0 || item.iItem >= ItemCount()) return false;
        const TListItemData& row = Row(item.iItem);
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
            std::string text;
            if (item.iSubItem == 0) {
                text = row.Caption;
            } else if (static_cast<size_t>(item.iSubItem) <= row.SubItems.size()) {
                text = row.SubItems[static_cast<size_t>(item.iSubItem) - 1];
            }
            const std::wstring wide = W(text);
            const size_t length = std::min(wide.size(), static_cast<size_t>(item.cchTextMax) - 1);
            std::copy_n(wide.data(), length, item.pszText);
            item.pszText[length] = L'\0';
        }
        if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = row.ImageIndex;
        result = 0;
        return true;
    }
    if (header->code == NM_DBLCLK) {
        if (onDoubleClick && SelectedIndex() >= 0) onDoubleClick();
        result = 0;
        return true;
    }
    return false;
}

// The selection list box.

TWin32SelectionListBox::TWin32SelectionListBox(TContainer& parent, const TControlArgs& args) {
    Create(parent, args, L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE);
}

void TWin32SelectionListBox::AddItem(const std::string& text) {
    SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text).c_str()));
}

void TWin32SelectionListBox::DeleteItem(int index) {
    SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TWin32SelectionListBox::Clear() { SendMessageW(window_, LB_RESETCONTENT, 0, 0); }

int TWin32SelectionListBox::Count() const { return static_cast<int>(SendMessageW(window_, LB_GETCOUNT, 0, 0)); }

std::string TWin32SelectionListBox::ItemText(int index) const {
    const auto length = SendMessageW(window_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto got = SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return N(text);
}

int TWin32SelectionListBox::SelectedIndex() const {
    const auto selected = SendMessageW(window_, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void TWin32SelectionListBox::SetSelectedIndex(int index) {
    SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < Count() ? index : -1), 0);
}

void TWin32SelectionListBox::Command(WORD code) {
    if (code == LBN_DBLCLK && onDoubleClick && SelectedIndex() >= 0) onDoubleClick();
}

}  // namespace nullvane::ui::win32
