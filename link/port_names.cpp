// The 26 serial device names offered by the Comport box. Windows needs the device-namespace prefix
// for port numbers above 9, so those names carry it.
#include "link/link.h"

const char16_t* const PortDeviceNames[PortCount] = {
    u"COM0",         u"COM1",         u"COM2",         u"COM3",         u"COM4",
    u"COM5",         u"COM6",         u"COM7",         u"COM8",         u"COM9",
    u"\\\\.\\COM10", u"\\\\.\\COM11", u"\\\\.\\COM12", u"\\\\.\\COM13", u"\\\\.\\COM14",
    u"\\\\.\\COM15", u"\\\\.\\COM16", u"\\\\.\\COM17", u"\\\\.\\COM18", u"\\\\.\\COM19",
    u"\\\\.\\COM20", u"\\\\.\\COM21", u"\\\\.\\COM22", u"\\\\.\\COM23", u"\\\\.\\COM24",
    u"\\\\.\\COM25"};
