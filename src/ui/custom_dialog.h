#pragma once

#include <set>
#include <string>

// The system's plain message box, in Spanish when the operating system's user language is
// Spanish and in English otherwise (not the launcher's Idioma).
namespace xamu::ui {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// In the order the buttons appear, left to right.
enum class TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using TMsgDlgButtons = std::set<TMsgDlgBtn>;

struct TCustomDialog {
  // Shows the box modally on the user-interface thread and returns the result of the
  // button that closed it (mbOK 1, mbCancel 2, ... mbClose 8), or 2 when it was closed
  // without one.
  static int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons);
};

}  // namespace xamu::ui
