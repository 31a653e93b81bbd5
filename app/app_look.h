#pragma once
// The program's one look, standing for the black Office 2007 style: the Fusion style with a dark
// palette and a style sheet for the ribbon, panes and status bar.
namespace kelvara {

void ApplyBlackLook();

}  // namespace kelvara
