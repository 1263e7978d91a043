#pragma once

// The action interpreter. Twelve actions are the framework's own: "nop", "set", "switch",
// "batch", "execute", "alert", "hint", "popup", "edit", "launch", "reload" and "assert"; every
// other name goes unchanged to the application's controller. Names are compared exactly.
//
// Params are one text, read as a list, as key/value text, or as an action pair: a list of an
// action name (unquoted) and that action's params (raw, so that they may be a block or a quoted
// text). Names and values taken from params are unquoted before use.

#include <string>

namespace Velto {

class rcRootView;

// Actions run inside actions (batch, switch, execute, reactions, menu choices) this deep at
// most; the enabled and checked queries go as deep.
inline constexpr int kMaxActionNesting = 64;

// Runs the action when it is enabled (the query's own exceptions leave), then starts the root's
// refresh timer and shows the text of an error that the action threw. LostWindowException leaves
// without a refresh; a cancellation shows nothing. The root is held while the action runs.
void PerformAction(rcRootView& root, const std::string& name, const std::string& params);

// Runs the action without checking it or catching its errors. Beyond kMaxActionNesting nested
// runs it throws Exception "Action recursion limit reached".
void ExecuteAction(rcRootView& root, const std::string& name, const std::string& params);

// Whether the action may run now, and whether it shows as checked. A query that nests beyond
// kMaxActionNesting levels answers false as a whole.
bool IsActionEnabled(rcRootView& root, const std::string& name, const std::string& params);
bool IsActionChecked(rcRootView& root, const std::string& name, const std::string& params);

// Runs an action pair through ExecuteAction.
void ExecuteActionPair(rcRootView& root, const std::string& pair);

}  // namespace Velto
