// Where the library has no COM ports (the native build of its portable code), opening a serial
// line always fails; tests hand the serial device a line of their own.
#include "SerialLine.h"

namespace zuvo::radar {

std::unique_ptr<SerialLine> OpenSerialLine(int portNumber, int, std::string& error) {
    error = "COM" + std::to_string(portNumber) + ": this build has no serial ports.";
    return nullptr;
}

}  // namespace zuvo::radar
