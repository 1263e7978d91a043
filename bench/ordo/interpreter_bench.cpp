// The same three workloads in ORDO, Tcl 8.6 and Lua 5.4: a counting loop that adds to a
// variable, a procedure called with two arguments, and a 20-operator arithmetic expression.
// Each language runs the whole workload once per benchmark iteration. Tcl runs it twice: as a
// script at global scope, the way ORDO runs a block over its variable store, and inside a
// procedure, Tcl's fastest form with compiled local variables. Lua uses local variables.
// The ratios of ORDO's time to each peer's are printed after the table.
#include <benchmark/benchmark.h>
#include <lua.hpp>
#include <tcl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "ordo/interpreter.h"

namespace {

struct Workload {
    const char* name;
    const char* ordo;
    const char* tclGlobal;    // a script run at global scope, as ORDO runs its blocks
    const char* tclProcedure; // defines the procedure "work" that does the same with local variables
    const char* lua;
    const char* expected;     // the value of r afterwards, in ORDO's number format
};

const Workload kWorkloads[] = {
    {"count",
     "x = 0; for i from:1 to:1000000 [x = {$x + 1}]; r = $x",
     "set x 0; for {set i 1} {$i <= 1000000} {incr i} { set x [expr {$x + 1}] }; set x",
     "proc work {} { set x 0; for {set i 1} {$i <= 1000000} {incr i} { set x [expr {$x + 1}] }; return $x }",
     "local x = 0; for i = 1, 1000000 do x = x + 1 end; return x",
     "1000000"},
    {"call",
     "add = [return r = {$0 + $1}]; for i from:1 to:100000 [call $add $i 2]",
     "proc add {a b} { return [expr {$a + $b}] }\n"
     "for {set i 1} {$i <= 100000} {incr i} { set r [add $i 2] }; set r",
     "proc add {a b} { return [expr {$a + $b}] }\n"
     "proc work {} { for {set i 1} {$i <= 100000} {incr i} { set r [add $i 2] }; return $r }",
     "local function add(a, b) return a + b end; local r; for i = 1, 100000 do r = add(i, 2) end; return r",
     "100002"},
    {"expression",
     "a = 3; b = 7; for i from:1 to:100000 "
     "[r = {($a + $b) * ($a - $b) / 2 + $a * 3 - $b / 4 + ($a + 1) * ($b - 2) - $a * $b / 5 + 6 - $a + $b * 7 - 8}]",
     "set a 3.0; set b 7.0; for {set i 1} {$i <= 100000} {incr i} {\n"
     "set r [expr {($a + $b) * ($a - $b) / 2 + $a * 3 - $b / 4 + ($a + 1) * ($b - 2) - $a * $b / 5 + 6 - $a + $b * 7 - 8}]"
     " }; set r",
     "proc work {} { set a 3.0; set b 7.0; for {set i 1} {$i <= 100000} {incr i} {\n"
     "set r [expr {($a + $b) * ($a - $b) / 2 + $a * 3 - $b / 4 + ($a + 1) * ($b - 2) - $a * $b / 5 + 6 - $a + $b * 7 - 8}]"
     " }; return $r }",
     "local a, b, r = 3, 7; for i = 1, 100000 do "
     "r = (a + b) * (a - b) / 2 + a * 3 - b / 4 + (a + 1) * (b - 2) - a * b / 5 + 6 - a + b * 7 - 8 end; return r",
     "47.05"},
};

// A host that knows no instructions and never aborts.
class NullExecutor : public ORDO::Executor {
public:
    bool CheckFormat(ORDO::Interpreter&, const std::string&, const std::vector<std::string>&,
                     const std::vector<std::string>&) override
    {
        return true;
    }
    bool Execute(ORDO::Interpreter&, const std::string&, std::string_view) override { return false; }
    bool Progress(ORDO::Interpreter&, uint32_t) override { return true; }
    bool Include(ORDO::Interpreter&, const std::string&, std::string&) override { return false; }
    void Trace(ORDO::Interpreter&, const std::u32string&) override {}
};

std::string FormatResult(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.13g", value);
    return text;
}

void Verify(const Workload& workload, const std::string& result, const char* language)
{
    if (result != workload.expected)
        throw std::runtime_error(std::string(language) + " " + workload.name + " gave " + result);
}

void RunOrdo(benchmark::State& state, const Workload& workload)
{
    NullExecutor executor;
    for (auto _ : state) {
        ORDO::Variables variables;
        ORDO::Interpreter context(executor, variables, UINT32_MAX, 100);
        context.RunBlock(workload.ordo);
        std::string result;
        variables.Get("r", result);
        state.PauseTiming();
        Verify(workload, result, "ORDO");
        state.ResumeTiming();
    }
}

// Runs script (compiled once, kept as an object) in a fresh interpreter after running setup.
void RunTclScript(benchmark::State& state, const Workload& workload, const char* setup, const char* script)
{
    Tcl_Interp* const interp = Tcl_CreateInterp();
    if (Tcl_Eval(interp, setup) != TCL_OK)
        throw std::runtime_error(Tcl_GetStringResult(interp));
    Tcl_Obj* const code = Tcl_NewStringObj(script, -1);
    Tcl_IncrRefCount(code);
    for (auto _ : state) {
        if (Tcl_EvalObjEx(interp, code, 0) != TCL_OK)
            throw std::runtime_error(Tcl_GetStringResult(interp));
        double value = 0;
        Tcl_GetDoubleFromObj(interp, Tcl_GetObjResult(interp), &value);
        state.PauseTiming();
        Verify(workload, FormatResult(value), "Tcl");
        state.ResumeTiming();
    }
    Tcl_DecrRefCount(code);
    Tcl_DeleteInterp(interp);
}

void RunTclGlobal(benchmark::State& state, const Workload& workload)
{
    RunTclScript(state, workload, "", workload.tclGlobal);
}

void RunTclProcedure(benchmark::State& state, const Workload& workload)
{
    RunTclScript(state, workload, workload.tclProcedure, "work");
}

void RunLua(benchmark::State& state, const Workload& workload)
{
    lua_State* const lua = luaL_newstate();
    if (luaL_loadstring(lua, workload.lua) != LUA_OK)
        throw std::runtime_error(lua_tostring(lua, -1));
    for (auto _ : state) {
        lua_pushvalue(lua, -1);
        if (lua_pcall(lua, 0, 1, 0) != LUA_OK)
            throw std::runtime_error(lua_tostring(lua, -1));
        const double value = lua_tonumber(lua, -1);
        lua_pop(lua, 1);
        state.PauseTiming();
        Verify(workload, FormatResult(value), "Lua");
        state.ResumeTiming();
    }
    lua_close(lua);
}

// Prints the table as usual, then ORDO's time divided by each peer's per workload.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // With repetitions the fastest repetition counts, the one least disturbed by other load.
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration ? run.repetitions <= 1 : run.aggregate_name == "min")
                fTimes[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-12s %14s %14s %10s\n", "workload", "ORDO/TclGlobal", "ORDO/TclProc", "ORDO/Lua");
        for (const Workload& workload : kWorkloads) {
            const std::string name = workload.name;
            const double ordo = fTimes["ORDO/" + name];
            const double global = fTimes["TclGlobal/" + name], procedure = fTimes["TclProc/" + name];
            const double lua = fTimes["Lua/" + name];
            if (ordo > 0 && global > 0 && procedure > 0 && lua > 0)
                std::printf("%-12s %14.2f %14.2f %10.2f\n", workload.name, ordo / global, ordo / procedure, ordo / lua);
        }
    }

private:
    std::map<std::string, double> fTimes;
};

} // namespace

int main(int argc, char** argv)
{
    for (const Workload& workload : kWorkloads) {
        const std::string name = workload.name;
        const auto add = [&name, &workload](const char* language, void (*run)(benchmark::State&, const Workload&)) {
            benchmark::RegisterBenchmark((std::string(language) + "/" + name).c_str(), run, workload)
                ->Unit(benchmark::kMillisecond)
                ->ComputeStatistics("min", [](const std::vector<double>& times) {
                    return *std::min_element(times.begin(), times.end());
                });
        };
        add("ORDO", RunOrdo);
        add("TclGlobal", RunTclGlobal);
        add("TclProc", RunTclProcedure);
        add("Lua", RunLua);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
