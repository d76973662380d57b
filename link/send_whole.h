// Sending a whole command over a stream whose send call may take fewer bytes than it is given.
#pragma once

// Calls send(from, count), which returns how many bytes it took (perhaps fewer than count) or a
// value below 1 when it failed, until all length bytes from data are out. False when a call
// failed; the bytes before it have gone out.
template <typename Send> bool SendWhole(const char* data, int length, Send send)
{
    int sent = 0;
    while (sent < length) {
        int taken = send(data + sent, length - sent);
        if (taken <= 0)
            return false;
        sent += taken;
    }
    return true;
}
