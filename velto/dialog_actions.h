#pragma once

// The actions that ask the user through a modal dialog and then run a follow-up action chosen by
// the answer: "alert", "popup" and "edit". Each takes key/value params; their follow-ups are
// action pairs run without an enabled check.

#include <string>

namespace Velto {

class rcRootView;

// An alert of a "type" (plain, question, warning, info, error) with a set of "buttons" (ok,
// ok cancel, retry cancel, yes no, yes no cancel, abort retry ignore), a "default" button, a
// "title" (the application's name without the key) and a "text", both macro-expanded. The
// pressed button's name selects the reaction under "reactions". A name that is not in its table
// throws FormatException "Invalid alert type : ", "Invalid alert buttons : " or "Invalid default
// button : " with the quoted name before anything is shown.
void RunAlertAction(rcRootView& root, const std::string& params);

// A pop-up menu of the "items" list (macro-expanded before it is split): "-" is a separator, any
// other item a list of label, action and params; an item without a label is left out. The menu
// shows at "position", or at "offset" from the action origin. The chosen item's action and
// params are stored in the variables that "storeAction" and "storeParams" name, then it runs.
void RunPopupAction(rcRootView& root, const std::string& params);

// A text dialog over the GUI "variable", when the application lets the GUI set it: the prompt is
// "text", the initial text "default" or else the variable's value (both macro-expanded). OK sets
// the variable to the text as typed, with an undo step, inside a tracking gesture, and then runs
// the "reaction".
void RunEditAction(rcRootView& root, const std::string& params);

}  // namespace Velto
