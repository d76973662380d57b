// The fixture of the discovery tests: a stand-in Configuration dialog whose status box the
// discovery writes, the simulated hosts of scripts/netns.sh with-hosts made silent before and
// after each test, and one discovery run as the dialog's button does it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "link/discovery.h"
#include "res/resource.h"
#include "support/lan_hosts.h"
#include "tests/e2e/link_test_platform.h"

// Milliseconds on the performance counter.
inline double NowMs()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

class DiscoveryTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (hosts.size() < 3)
            GTEST_SKIP() << "needs the simulated hosts of scripts/netns.sh with-hosts";
        app = AppState{};
        statusBoxes.clear();
        dialog = MakeStandInDialog();
        ASSERT_NE(dialog, nullptr);
        app.configDialog = dialog;
        for (const Host& h : hosts)
            ASSERT_EQ(HostControl(h, "discovery silent"), "ok") << h.name;
    }
    void TearDown() override
    {
        for (const Host& h : hosts)
            HostControl(h, "discovery silent");
        if (dialog != nullptr)
            DestroyWindow(dialog);
    }

    void Replies(const Host& host, const std::string& kind)
    {
        ASSERT_EQ(HostControl(host, "discovery " + kind), "ok") << host.name;
    }

    // Runs one discovery as the dialog's button does and returns what the status box shows;
    // runMs and endedMs tell how long the run took and when it ended.
    std::string Discover()
    {
        SetDlgItemTextA(dialog, IDC_STATUS_TEXT, "Disconnected");
        double start = NowMs();
        DiscoverInstruments();
        endedMs = NowMs();
        runMs = endedMs - start;
        HWND box = GetDlgItem(dialog, IDC_STATUS_TEXT);
        std::string shown(static_cast<std::size_t>(GetWindowTextLengthA(box)) + 1, '\0');
        shown.resize(static_cast<std::size_t>(GetWindowTextA(box, &shown[0], int(shown.size()))));
        return shown;
    }

    std::vector<Host> hosts = LanHosts();
    HWND dialog = nullptr;
    double runMs = 0;
    double endedMs = 0;
};
