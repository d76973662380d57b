// The real serial and TCP link code under Wine, against tessaly-sim: connection failures, query
// round trips, time-outs, long and split answers, a peer that closes, the closed-socket rules,
// a simulated serial port reached as COM12 and the line settings it got, and a host name whose
// first address refuses.
#include <gtest/gtest.h>

#include <ws2tcpip.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "link/link.h"
#include "link/link_rules.h"
#include "link/serial_settings.h"
#include "panels/transaction.h"
#include "support/sim_control.h"
#include "tests/e2e/import_hook.h"
#include "tests/e2e/link_test_platform.h"

namespace
{

bool OpenTcp(const std::string& host, const std::string& port)
{
    return OpenLink(EthernetKind, {0, 0, host.c_str(), port.c_str()});
}

bool OpenSerial(int portIndex, bool lineSettings, int baudIndex)
{
    return OpenLink(lineSettings ? Rs232Kind : UsbKind, {portIndex, baudIndex, nullptr, nullptr});
}

// One command line through the link of linkIsTcp, as the transaction runs it.
std::string Query(const char* line)
{
    ClearCommandBuffers();
    StoreCommand(line);
    ActOnLink(LinkAction::Send);
    ActOnLink(LinkAction::Read);
    return AnswerText();
}

std::string Read()
{
    ClearCommandBuffers();
    ActOnLink(LinkAction::Read);
    return AnswerText();
}

struct LinkTest : ::testing::Test {
    void SetUp() override
    {
        app = AppState{};
        statusBoxes.clear();
        linkNotes.clear();
        SimFault("none");
        SimClear();
    }
    void TearDown() override
    {
        SimControl("pty on"); // back, should a test that pulled it out have failed
        SimFault("none");
        ActOnLink(LinkAction::Teardown);
    }
};

TEST_F(LinkTest, TcpConnectFailuresLeaveTheirReasonForTheCaller)
{
    EXPECT_FALSE(OpenTcp("127.0.0.1", "1")); // nothing listens there
    EXPECT_EQ(app.linkFailure, "Unable to connect to server");
    EXPECT_EQ(app.tcpSocket, INVALID_SOCKET);

    EXPECT_FALSE(OpenTcp("no-such-host.invalid", std::to_string(SimTcpPort())));
    EXPECT_EQ(app.linkFailure, "getaddrinfo failed");

    EXPECT_FALSE(OpenTcp("127.0.0.1", "not-a-service-name"));
    EXPECT_EQ(app.linkFailure, "getaddrinfo failed");
    EXPECT_TRUE(statusBoxes.empty()); // the dialog or tessaly-cmd shows it
}

TEST_F(LinkTest, TcpQueryRoundTripSendsExactBytes)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    EXPECT_TRUE(statusBoxes.empty());
    ClearCommandBuffers();
    StoreCommand("VOLT 120\n");
    TcpSend();
    std::string answer = Query("VOLT?\n");
    EXPECT_EQ(answer.substr(0, 3), "120");
    EXPECT_NE(Query("*IDN?\n"), EthTimeoutText);
    EXPECT_EQ(SimRecord(), "VOLT 120\nVOLT?\n*IDN?\n");
}

TEST_F(LinkTest, TcpSilentInstrumentGivesEthTimeoutAndLinkStaysOpen)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    SimFault("silent");
    DWORD start = GetTickCount();
    EXPECT_EQ(Query("*IDN?\n"), EthTimeoutText);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 4800u);
    EXPECT_LT(elapsed, 8000u);
    EXPECT_TRUE(statusBoxes.empty());
    EXPECT_EQ(app.connected, 1);
    SimFault("none");
    EXPECT_NE(Query("*IDN?\n"), EthTimeoutText);
}

TEST_F(LinkTest, TcpAnswerInPiecesIsOneAnswer)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    ClearCommandBuffers();
    StoreCommand("VOLT 75.5\n");
    TcpSend();
    SimFault("split 300");
    std::string first = Query("VOLT?\n");
    EXPECT_EQ(first.substr(0, 4), "75.5");
    SimFault("none");
    EXPECT_EQ(Query("VOLT?\n"), first); // nothing of the first answer is left queued
}

TEST_F(LinkTest, TcpAnswerLongerThanBufferComesOutInTwoReceives)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    SimFault("long 150");
    std::string first = Query("*IDN?\n");
    EXPECT_EQ(first.size(), 100u);
    SimFault("none");
    std::string rest = Read(); // "Read" still fetches the rest of the long answer
    EXPECT_EQ(rest.size(), 50u);
    EXPECT_NE(Query("*IDN?\n"), EthTimeoutText);
}

TEST_F(LinkTest, TcpLeftoversOfAnEarlierAnswerAreNeverShownUnderANewCommand)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    ClearCommandBuffers();
    StoreCommand("VOLT 42\n");
    TcpSend();
    SimFault("long 150"); // the rest of this answer stays queued after the first 100 bytes
    EXPECT_EQ(Query("*IDN?\n").size(), 100u);
    SimFault("none");
    Sleep(200);
    EXPECT_EQ(Query("VOLT?\n").substr(0, 2), "42");

    SimFault("late 5800"); // comes after the receive has given up
    EXPECT_EQ(Query("*IDN?\n"), EthTimeoutText);
    SimFault("none");
    Sleep(1500);
    EXPECT_EQ(Query("VOLT?\n").substr(0, 2), "42");
}

// Answers that arrive together: a receive shows one line, "Read" the next, and a new command
// finds nothing of the rest.
TEST_F(LinkTest, TcpAnswersThatArriveTogetherComeOutALineAtATime)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    ClearCommandBuffers();
    StoreCommand("VOLT 42\n");
    TcpSend();
    std::string identity = Query("*IDN?\n");
    ClearCommandBuffers();
    StoreCommand("VOLT?\n*IDN?\nVOLT?\n");
    TcpSend();
    Sleep(300); // all three answers are in before the first receive
    EXPECT_EQ(Read().substr(0, 2), "42");
    EXPECT_EQ(Read(), identity);
    EXPECT_EQ(Query("*IDN?\n"), identity); // not the third answer
}

TEST_F(LinkTest, TcpAnswerWithoutLineFeedEndsAtTheTimeout)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    SimFault("nolf");
    std::string answer = Query("*IDN?\n");
    EXPECT_FALSE(answer.empty());
    EXPECT_NE(answer, EthTimeoutText);
}

TEST_F(LinkTest, TcpPeerClosingShowsBoxAndLeavesNoAnswer)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    SimFault("close");
    EXPECT_EQ(Query("*IDN?\n"), "No Response Read");
    EXPECT_EQ(statusBoxes, std::vector<std::string>{"Ethernet Connection Closed"});
    EXPECT_EQ(app.connected, 1);  // the operator closes it
    EXPECT_EQ(app.peerClosed, 1); // tessaly-cmd lets it go
}

TEST_F(LinkTest, ClosedSocketIsNeverUsedAgain)
{
    ASSERT_TRUE(OpenTcp("127.0.0.1", std::to_string(SimTcpPort())));
    ActOnLink(LinkAction::Close);
    EXPECT_EQ(app.connected, 0);
    EXPECT_EQ(app.linkIsTcp, 1);
    EXPECT_EQ(app.tcpSocket, INVALID_SOCKET);
    EXPECT_EQ(Query("*IDN?\n"), EthTimeoutText); // send fails quietly, receive times out at once
    EXPECT_EQ(linkNotes, std::vector<std::string>{"send failed: 10038"}); // WSAENOTSOCK
    ActOnLink(LinkAction::Close);                                         // nothing left to do
    EXPECT_TRUE(statusBoxes.empty());

    // A link that still looks open but has no socket is simply let go.
    app.connected = 1;
    EXPECT_TRUE(ActOnLink(LinkAction::Teardown));
    EXPECT_EQ(app.connected, 0);
    EXPECT_TRUE(statusBoxes.empty());
}

TEST_F(LinkTest, SerialMissingPortAndNoPortFailures)
{
    EXPECT_FALSE(OpenSerial(0, true, DefaultBaudIndex));
    EXPECT_EQ(app.linkFailure, "COMPORT failed to open");
    EXPECT_EQ(app.connected, 0);
    EXPECT_EQ(app.commHandle, nullptr);

    ClearCommandBuffers();
    StoreCommand("*IDN?\n");
    SerialWrite();
    EXPECT_STREQ(app.ResponseBuffer.data(), WriteFailureText);
    ClearCommandBuffers();
    SerialRead();
    EXPECT_STREQ(app.ResponseBuffer.data(), ReadFailureText);
}

void ExpectPortTimeouts(const SerialTimeouts& expected)
{
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(GetCommTimeouts(app.commHandle, &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, expected.readInterval);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, expected.readMultiplier);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, expected.readConstant);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, expected.writeMultiplier);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, expected.writeConstant);
}

TEST_F(LinkTest, SerialPortTwelveOpensWithLineSettingsAndTimeouts)
{
    OpenSerial(12, true, 10); // "\\.\COM12", linked to the simulator's pseudo-terminal; RS-232
    ASSERT_TRUE(statusBoxes.empty()) << statusBoxes.front();
    ASSERT_EQ(app.connected, 1);
    DCB settings{};
    settings.DCBlength = sizeof settings;
    ASSERT_TRUE(GetCommState(app.commHandle, &settings));
    EXPECT_EQ(settings.BaudRate, 115200u);
    EXPECT_EQ(settings.ByteSize, 8);
    EXPECT_EQ(settings.Parity, NOPARITY);
    EXPECT_EQ(settings.StopBits, ONESTOPBIT);
    // What reached the line: DC1 and DC3 as the flow control characters, and no flow control.
    EXPECT_EQ(SimControl("line"), "vstart 17 vstop 19 ixon 0 ixoff 0 crtscts 0");
    ExpectPortTimeouts({50, 50, 5000, 10, 10});

    // At 300 bits per second a byte takes 33 ms, and a 16550 may stay quiet for 17 of them.
    SerialClose();
    SerialOpen(12, true, 0);
    ASSERT_EQ(statusBoxes.size(), 0u);
    ExpectPortTimeouts({567, 50, 5000, 34, 10});
    SerialClose();
    SerialOpen(12, false, 0); // USB keeps the full-speed values whatever the Baud Rate choice
    ExpectPortTimeouts(FastLineTimeouts);
}

TEST_F(LinkTest, SerialQueryRoundTripAndSilentInstrument)
{
    OpenSerial(12, false, DefaultBaudIndex); // USB: the port keeps its own line settings
    ASSERT_EQ(app.connected, 1) << (statusBoxes.empty() ? "" : statusBoxes.front());
    ClearCommandBuffers();
    StoreCommand("FREQ 60\n");
    SerialWrite();
    EXPECT_EQ(Query("FREQ?\n").substr(0, 2), "60");
    EXPECT_EQ(SimRecord("serial"), "FREQ 60\nFREQ?\n");

    SimFault("long 150"); // what a new command finds queued is no answer to it
    EXPECT_EQ(Query("*IDN?\n").size(), 100u);
    SimFault("none");
    Sleep(300);
    EXPECT_EQ(Query("FREQ?\n").substr(0, 2), "60");

    SimFault("silent");
    DWORD start = GetTickCount();
    EXPECT_EQ(Query("FREQ?\n"), "No Response Read"); // a time-out is no read failure
    EXPECT_GE(GetTickCount() - start, 9000u);
}

DWORD WINAPI PullOutPortLater(void* delayMs)
{
    Sleep(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(delayMs)));
    SimControl("pty off");
    return 0;
}

// The adapter pulled out while a query waits for its answer: the failure text, then the port
// let go and the link closed, so that once it is back it opens again under the same name.
TEST_F(LinkTest, SerialPortPulledOutMidCommandIsLetGoAndOpensAgainOnceBack)
{
    OpenSerial(12, false, DefaultBaudIndex);
    ASSERT_EQ(app.connected, 1) << (statusBoxes.empty() ? "" : statusBoxes.front());
    SimFault("silent");
    HANDLE pullOut =
        CreateThread(nullptr, 0, PullOutPortLater, reinterpret_cast<void*>(300), 0, nullptr);
    ASSERT_NE(pullOut, nullptr);
    EXPECT_EQ(Query("FREQ?\n"), ReadFailureText);
    WaitForSingleObject(pullOut, 10000);
    CloseHandle(pullOut);
    EXPECT_EQ(app.connected, 0);
    EXPECT_EQ(app.commHandle, nullptr);

    EXPECT_FALSE(OpenSerial(12, false, DefaultBaudIndex));
    EXPECT_EQ(app.linkFailure, "COMPORT failed to open");
    ASSERT_EQ(SimControl("pty on"), "ok");
    SimFault("none");
    ASSERT_TRUE(OpenSerial(12, false, DefaultBaudIndex));
    EXPECT_EQ(Query("*IDN?\n"), SimControl("get *IDN"));
}

// The comm calls the serial link makes, seen through this program's import table: the port each
// ClearCommError was given, what GetCommState gave (reporting abort-on-error when asked to) and
// what SetCommState got, and a GetOverlappedResult made to fail with a chosen code.
namespace seen
{
std::vector<HANDLE> clearedPorts;
bool abortOnError = false;
std::vector<DCB> statesGot, statesSet;
DWORD failNextWith = 0;
bool clearFails = false; // ClearCommError fails, as on a port whose device has left

decltype(&ClearCommError) realClearCommError;
decltype(&GetCommState) realGetCommState;
decltype(&SetCommState) realSetCommState;
decltype(&GetOverlappedResult) realGetOverlappedResult;

BOOL WINAPI OnClearCommError(HANDLE port, LPDWORD errors, LPCOMSTAT status)
{
    clearedPorts.push_back(port);
    if (clearFails) {
        SetLastError(ERROR_BAD_COMMAND);
        return FALSE;
    }
    return realClearCommError(port, errors, status);
}
BOOL WINAPI OnGetCommState(HANDLE port, LPDCB state)
{
    BOOL ok = realGetCommState(port, state);
    if (ok && abortOnError)
        state->fAbortOnError = TRUE;
    if (ok)
        statesGot.push_back(*state);
    return ok;
}
BOOL WINAPI OnSetCommState(HANDLE port, LPDCB state)
{
    statesSet.push_back(*state);
    return realSetCommState(port, state);
}
BOOL WINAPI OnGetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD count, BOOL wait)
{
    BOOL ok = realGetOverlappedResult(file, overlapped, count, wait);
    if (failNextWith == 0)
        return ok;
    SetLastError(failNextWith);
    failNextWith = 0;
    return FALSE;
}

template <typename Function> void Hook(const char* name, Function replacement, Function& real)
{
    void* previous = HookImport("kernel32.dll", name, reinterpret_cast<void*>(replacement));
    ASSERT_NE(previous, nullptr) << name;
    real = reinterpret_cast<Function>(previous);
}
template <typename Function> void Unhook(const char* name, Function real)
{
    if (real != nullptr)
        HookImport("kernel32.dll", name, reinterpret_cast<void*>(real));
}
} // namespace seen

struct PortCallsTest : LinkTest {
    void SetUp() override
    {
        LinkTest::SetUp();
        seen::clearedPorts.clear();
        seen::statesGot.clear();
        seen::statesSet.clear();
        seen::abortOnError = false;
        seen::failNextWith = 0;
        seen::clearFails = false;
        seen::Hook("ClearCommError", seen::OnClearCommError, seen::realClearCommError);
        seen::Hook("GetCommState", seen::OnGetCommState, seen::realGetCommState);
        seen::Hook("SetCommState", seen::OnSetCommState, seen::realSetCommState);
        seen::Hook("GetOverlappedResult", seen::OnGetOverlappedResult,
                   seen::realGetOverlappedResult);
    }
    void TearDown() override
    {
        LinkTest::TearDown();
        seen::Unhook("ClearCommError", seen::realClearCommError);
        seen::Unhook("GetCommState", seen::realGetCommState);
        seen::Unhook("SetCommState", seen::realSetCommState);
        seen::Unhook("GetOverlappedResult", seen::realGetOverlappedResult);
    }
};

// Wine never reports abort-on-error; here the port does, and the USB open writes back the block
// the port gave with that field alone cleared. Without it, nothing is written.
TEST_F(PortCallsTest, UsbPortHasOnlyAbortOnErrorCleared)
{
    seen::abortOnError = true;
    OpenSerial(12, false, DefaultBaudIndex);
    ASSERT_EQ(app.connected, 1);
    ASSERT_EQ(seen::statesGot.size(), 1u);
    ASSERT_EQ(seen::statesSet.size(), 1u);
    DCB expected = seen::statesGot[0];
    expected.fAbortOnError = FALSE;
    EXPECT_EQ(std::memcmp(&seen::statesSet[0], &expected, sizeof expected), 0);

    ActOnLink(LinkAction::Close);
    seen::abortOnError = false;
    seen::statesSet.clear();
    OpenSerial(12, false, DefaultBaudIndex);
    EXPECT_EQ(app.connected, 1);
    EXPECT_TRUE(seen::statesSet.empty());
}

// Every failed write or read is followed by ClearCommError on its port. The program's own cancel
// at its time limit keeps the port, which goes on working; a device that has been removed is let
// go.
TEST_F(PortCallsTest, FailedOperationClearsThePortsErrorsAndOnlyAGoneDeviceLetsItGo)
{
    OpenSerial(12, false, DefaultBaudIndex);
    ASSERT_EQ(app.connected, 1);
    HANDLE port = app.commHandle;
    EXPECT_EQ(Query("*IDN?\n"), SimControl("get *IDN"));
    EXPECT_TRUE(seen::clearedPorts.empty());

    seen::failNextWith = ERROR_OPERATION_ABORTED;
    ClearCommandBuffers();
    StoreCommand("*CLS\n");
    SerialWrite();
    EXPECT_STREQ(app.ResponseBuffer.data(), WriteFailureText);
    EXPECT_EQ(seen::clearedPorts, std::vector<HANDLE>{port});
    EXPECT_EQ(app.connected, 1);
    EXPECT_EQ(Query("*IDN?\n"), SimControl("get *IDN"));

    ClearCommandBuffers();
    StoreCommand("*IDN?\n");
    SerialWrite();
    seen::failNextWith = ERROR_DEVICE_REMOVED;
    SerialRead();
    EXPECT_STREQ(app.ResponseBuffer.data(), ReadFailureText);
    EXPECT_EQ(seen::clearedPorts, (std::vector<HANDLE>{port, port}));
    EXPECT_EQ(app.linkGone, 1); // the read only says so; the link rules let the port go
    ActOnLink(LinkAction::Teardown);
    EXPECT_EQ(app.connected, 0);
    EXPECT_EQ(app.commHandle, nullptr);
}

// A failed write whose code alone says nothing of the device (a pending operation aborted, a file
// or device not found) lets the port go only when ClearCommError fails on it too.
TEST_F(PortCallsTest, ACodeThatSaysNothingLetsThePortGoOnlyWhenClearCommErrorFailsToo)
{
    for (bool clearFails : {false, true}) {
        for (DWORD code : {ERROR_OPERATION_ABORTED, ERROR_FILE_NOT_FOUND, ERROR_DEV_NOT_EXIST}) {
            SCOPED_TRACE(testing::Message() << "code " << code << ", ClearCommError "
                                            << (clearFails ? "fails" : "works"));
            if (app.connected == 0) {
                ASSERT_TRUE(OpenSerial(12, false, DefaultBaudIndex));
            }
            seen::clearFails = clearFails;
            seen::failNextWith = code;
            ClearCommandBuffers();
            StoreCommand("*CLS\n");
            ActOnLink(LinkAction::Send);
            seen::clearFails = false;
            EXPECT_STREQ(app.ResponseBuffer.data(), WriteFailureText);
            EXPECT_EQ(app.connected, clearFails ? 0 : 1);
            EXPECT_EQ(app.commHandle == nullptr, clearFails);
        }
    }
}

// Run by with_stock_hosts.sh, whose hosts file gives "localhost" both loopback addresses, so
// that the resolver answers ::1 first; the simulator listens on 127.0.0.1 alone.
using LinkResolverTest = LinkTest;

TEST_F(LinkResolverTest, HostNameWhoseFirstAddressRefusesConnectsToTheNext)
{
    const std::string port = std::to_string(SimTcpPort());
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* results = nullptr;
    ASSERT_EQ(getaddrinfo("localhost", port.c_str(), &hints, &results), 0);
    std::vector<int> families;
    for (addrinfo* address = results; address != nullptr; address = address->ai_next)
        families.push_back(address->ai_family);
    freeaddrinfo(results);
    WSACleanup();
    ASSERT_EQ(families, (std::vector<int>{AF_INET6, AF_INET}))
        << "the resolver must answer ::1 first";

    ASSERT_TRUE(OpenTcp("localhost", port));
    EXPECT_TRUE(statusBoxes.empty());
    ClearCommandBuffers();
    StoreCommand("VOLT 80\n");
    TcpSend();
    EXPECT_EQ(Query("VOLT?\n").substr(0, 2), "80");
    EXPECT_EQ(SimRecord(), "VOLT 80\nVOLT?\n");
}

} // namespace
