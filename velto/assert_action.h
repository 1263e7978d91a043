#pragma once

// The "assert" action: a description checks a GUI variable against a value or another variable,
// or the enabled and checked states of an action, while it runs.

#include <string>

namespace Velto {

class rcRootView;

// Key/value params. With "variable": the first of "is", "isNot", "sameAs" and "differsFrom"
// that is present compares the variable's value with the written text ("is", "isNot") or with
// the value of the variable it names. Otherwise with "action" (and "params"): "enabled" and then
// "checked", each read raw as a bool, must match the action's states. A failure throws
// QorDebug::Assert "Velto assertion failed: ..." naming what differed; params that check nothing
// throw FormatException "Invalid assert params : " with the quoted params.
void RunAssertAction(rcRootView& root, const std::string& params);

}  // namespace Velto
