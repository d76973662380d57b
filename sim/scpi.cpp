// The simulated AC source's SCPI interpreter: error queue, status registers, trigger system,
// measurements into the simulated load, and the dispatch of a line to the command table.
#include "sim/scpi.h"

#include <algorithm>

#include "sim/scpi_commands.h"
#include "sim/scpi_syntax.h"

namespace
{

struct ScpiError {
    int code;
    const char* text;
};

constexpr ScpiError ErrorTexts[] = {
    {-101, "Invalid character"},     {-102, "Syntax error"},      {-104, "Data type error"},
    {-108, "Parameter not allowed"}, {-109, "Missing parameter"}, {-113, "Undefined header"},
    {-120, "Numeric data error"},    {-131, "Invalid suffix"},    {-151, "Invalid string data"},
    {-211, "Trigger ignored"},       {-213, "Init ignored"},      {-221, "Settings conflict"},
    {-222, "Data out of range"},     {-223, "Too much data"},     {-224, "Illegal parameter value"},
    {-226, "Lists not same length"}, {-350, "Queue overflow"},    {-363, "Input buffer overrun"},
};

// The standard event status bit that an error of this number sets.
int EventBitOf(int code)
{
    if (code <= -100 && code > -200)
        return 32; // command error
    if (code <= -200 && code > -300)
        return 16; // execution error
    if (code <= -300 && code > -400)
        return 8; // device-dependent error
    return 4;     // query error
}

std::string ErrorEntry(int code)
{
    for (const ScpiError& e : ErrorTexts) {
        if (e.code == code)
            return std::to_string(code) + ",\"" + e.text + "\"";
    }
    return std::to_string(code) + ",\"Error\"";
}

void UpdateConditions(Instrument& in)
{
    const int oper = in.initiated && in.set.trigSourceBus ? OperWaitingForTrigger : 0;
    in.operEvent |= oper & ~in.operCondition;
    in.operCondition = oper;
    const int ques = Measure(in).limited ? QuesCurrentLimited : 0;
    in.quesEvent |= ques & ~in.quesCondition;
    in.quesCondition = ques;
}

// Each level in STEP mode takes its triggered value; in LIST mode the list runs through and the
// level stays at its last point.
void ApplyTriggeredLevels(OutputSettings& s)
{
    struct Level {
        double OutputSettings::*level;
        double OutputSettings::*triggered;
        LevelMode OutputSettings::*mode;
        std::vector<double> OutputSettings::*list;
    };
    static constexpr Level levels[] = {
        {&OutputSettings::volt, &OutputSettings::voltTrig, &OutputSettings::voltMode,
         &OutputSettings::listVolt},
        {&OutputSettings::freq, &OutputSettings::freqTrig, &OutputSettings::freqMode,
         &OutputSettings::listFreq},
        {&OutputSettings::curr, &OutputSettings::currTrig, &OutputSettings::currMode,
         &OutputSettings::listCurr},
    };
    for (const Level& l : levels) {
        if (s.*l.mode == LevelMode::Step)
            s.*l.level = s.*l.triggered;
        else if (s.*l.mode == LevelMode::List && !(s.*l.list).empty())
            s.*l.level = (s.*l.list).back();
    }
}

void FinishTrigger(Instrument& in)
{
    ApplyTriggeredLevels(in.set);
    if (--in.triggersLeft <= 0) {
        in.initiated = in.set.initContinuous;
        in.triggersLeft = in.set.trigCount;
    }
}

} // namespace

void PowerOn(Instrument& in)
{
    in = Instrument{};
    in.esr = 128; // power on
}

void PushError(Instrument& in, int code)
{
    in.esr |= EventBitOf(code);
    if (static_cast<int>(in.errors.size()) >= ErrorQueueSize) {
        in.errors.back() = ErrorEntry(-350);
        return;
    }
    in.errors.push_back(ErrorEntry(code));
}

std::string PopError(Instrument& in)
{
    if (in.errors.empty())
        return "0,\"No error\"";
    std::string entry = in.errors.front();
    in.errors.pop_front();
    return entry;
}

int StatusByte(const Instrument& in)
{
    int stb = 0;
    if (!in.errors.empty())
        stb |= 4;
    if ((in.quesEvent & in.quesEnable) != 0)
        stb |= 8;
    if ((in.esr & in.ese) != 0)
        stb |= 32;
    if ((in.operEvent & in.operEnable) != 0)
        stb |= 128;
    if ((stb & in.sre) != 0)
        stb |= 64;
    return stb;
}

Measurement Measure(const Instrument& in)
{
    Measurement m;
    if (!in.set.output)
        return m;
    m.freq = in.set.freq;
    m.volt = in.set.volt;
    if (in.loadOhms <= 0.0)
        return m; // no load connected
    const double wanted = in.set.volt / in.loadOhms;
    m.limited = wanted > in.set.curr;
    m.curr = m.limited ? in.set.curr : wanted;
    if (m.limited)
        m.volt = in.set.curr * in.loadOhms;
    m.powerFactor = m.curr > 0.0 ? in.loadPowerFactor : 0.0;
    m.power = m.volt * m.curr * m.powerFactor;
    return m;
}

bool ListsMatch(const OutputSettings& s)
{
    const std::pair<LevelMode, size_t> lists[] = {{s.voltMode, s.listVolt.size()},
                                                  {s.freqMode, s.listFreq.size()},
                                                  {s.currMode, s.listCurr.size()}};
    size_t points = 0;
    for (const auto& [mode, size] : lists) {
        if (mode != LevelMode::List)
            continue;
        if (points != 0 && size != points)
            return false;
        points = size;
    }
    return points == 0 || s.listDwell.size() == 1 || s.listDwell.size() == points;
}

int Initiate(Instrument& in)
{
    if (in.initiated)
        return -213;
    if (!ListsMatch(in.set))
        return -226;
    in.initiated = true;
    in.triggersLeft = in.set.trigCount;
    if (in.set.trigSourceBus)
        return 0;
    // An immediate source triggers at once, as many times as the trigger count says.
    for (int k = 0; k < in.set.trigCount; ++k)
        ApplyTriggeredLevels(in.set);
    in.initiated = in.set.initContinuous;
    return 0;
}

int Trigger(Instrument& in, bool busOnly)
{
    if (!in.initiated || (busOnly && !in.set.trigSourceBus))
        return -211;
    FinishTrigger(in);
    return 0;
}

void Abort(Instrument& in)
{
    in.initiated = false;
    in.triggersLeft = 0;
    if (in.set.initContinuous)
        Initiate(in);
}

ScpiResult ExecuteScpi(Instrument& in, const std::string& line)
{
    ScpiResult result;
    ScpiLine parsed;
    int error = SplitScpiLine(line, parsed);
    if (error == 0 && parsed.header.empty())
        return result;
    if (error == 0) {
        const ScpiCommand* command = FindScpiCommand(parsed.header);
        if (command == nullptr ||
            (parsed.query ? command->query == nullptr : command->set == nullptr)) {
            error = -113;
        } else if (parsed.query) {
            error = parsed.params.empty() ? command->query(in, result.answer) : -108;
            result.answered = error == 0;
        } else {
            const size_t given = parsed.params.size();
            const int wanted = command->paramCount;
            if (wanted == AnyParamCount)
                error = given == 0 ? -109 : 0;
            else if (given < static_cast<size_t>(wanted))
                error = -109;
            else if (given > static_cast<size_t>(wanted))
                error = -108;
            if (error == 0)
                error = command->set(in, parsed.params);
        }
    }
    if (error != 0) {
        PushError(in, error);
        result = ScpiResult{};
    }
    UpdateConditions(in);
    return result;
}
