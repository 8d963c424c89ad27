#pragma once
// A dialog of a fixed client size, owned by another form.
#include <memory>

#include "ui/Factory.h"

namespace nullvane::app {

// The frame differs between systems: the client area is what is designed, so
// the form is sized to it once created.
inline std::unique_ptr<ui::TForm> CreateFixedDialog(ui::TControlFactory& controls, ui::TForm& owner, const char* name,
                                                   const char* caption, int clientWidth, int clientHeight) {
    ui::TFormArgs args;
    args.Name = name;
    args.Caption = caption;
    args.Width = clientWidth + 16;
    args.Height = clientHeight + 39;
    args.Sizeable = false;
    args.Dialog = true;
    args.Owner = &owner;
    std::unique_ptr<ui::TForm> form = controls.CreateForm(args);
    form->SetBounds({form->Left(), form->Top(), form->Width() + clientWidth - form->ClientWidth(),
                     form->Height() + clientHeight - form->ClientHeight()});
    return form;
}

}  // namespace nullvane::app
