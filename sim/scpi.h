// The simulated AC source: its settings, status registers, error queue, LAN and serial settings
// and password, and the SCPI interpreter that reads and changes them one command line at a time.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

enum class LevelMode : int { Fix, Step, List };
enum class LanConfig : int { Dhcp, Auto, Manual };

// The settings that *RST resets and that *SAV and *RCL store and recall.
struct OutputSettings {
    double volt = 0.0;
    double freq = 60.0;
    double curr = 5.0; // current limit
    bool rangeLow = false;
    bool output = false;
    double voltTrig = 0.0;
    double freqTrig = 60.0;
    double currTrig = 5.0;
    LevelMode voltMode = LevelMode::Fix;
    LevelMode freqMode = LevelMode::Fix;
    LevelMode currMode = LevelMode::Fix;
    std::vector<double> listDwell{1.0};
    std::vector<double> listVolt{0.0};
    std::vector<double> listFreq{60.0};
    std::vector<double> listCurr{5.0};
    int listCount = 1;
    bool trigSourceBus = false;
    double trigDelay = 0.0;
    int trigCount = 1;
    bool initContinuous = false;
};

struct Instrument {
    OutputSettings set;
    std::array<OutputSettings, 4> saved;
    // The simulated load: impedance magnitude and power factor.
    double loadOhms = 48.0;
    double loadPowerFactor = 1.0;
    // IEEE 488.2 and SCPI status.
    int esr = 0;
    int ese = 0;
    int sre = 0;
    int operCondition = 0;
    int operEvent = 0;
    int operEnable = 0;
    int quesCondition = 0;
    int quesEvent = 0;
    int quesEnable = 0;
    std::deque<std::string> errors;
    // Trigger system: initiated and waiting, and how many triggers remain before it goes idle.
    bool initiated = false;
    int triggersLeft = 0;
    // LAN, serial and password settings; *RST leaves them alone.
    LanConfig lanConfig = LanConfig::Dhcp;
    std::string ip = "192.168.1.100";
    std::string subnet = "255.255.255.0";
    std::string gateway = "192.168.1.1";
    std::string host = "SIM-AC-1";
    std::string mac = "00-1A-2B-3C-4D-5E";
    std::string activeIp = "127.0.0.1"; // the address in use when not configured by hand
    int socketPort = 5025;
    int baud = 9600;
    std::string password = "0000";
    bool passwordEnabled = false;
};

constexpr int ErrorQueueSize = 10;
constexpr int OperWaitingForTrigger = 32; // STAT:OPER condition bit 5
constexpr int QuesCurrentLimited = 2;     // STAT:QUES condition bit 1

// The instrument as it is at power-on.
void PowerOn(Instrument& in);

struct ScpiResult {
    bool answered = false;
    std::string answer; // without line end
};

// Runs one command line (line end removed). Errors go to the error queue.
ScpiResult ExecuteScpi(Instrument& in, const std::string& line);

// Pushes an error by its number and sets its bit in the standard event status register.
void PushError(Instrument& in, int code);

// What the output delivers into the simulated load.
struct Measurement {
    double volt = 0.0;
    double curr = 0.0;
    double power = 0.0;
    double powerFactor = 0.0;
    double freq = 0.0;
    bool limited = false; // the load asks for more than the current limit
};
Measurement Measure(const Instrument& in);
