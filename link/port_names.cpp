// The serial device name and the Comport box's label of each port number 0 to 25. Windows needs
// the device-namespace prefix for port numbers above 9, so those names carry it.
#include "link/link.h"

std::string PortLabel(int port)
{
    return std::to_string(port);
}

std::string PortDeviceName(int port)
{
    return (port > 9 ? "\\\\.\\COM" : "COM") + PortLabel(port);
}
