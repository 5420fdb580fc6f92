// Where the tests find their fixture trees and the built program.
#pragma once

#include <string>

namespace orbistat::test {

inline std::string fixture(const std::string& relative)
{
    return std::string(ORBISTAT_FIXTURES_DIR) + "/" + relative;
}

inline const char* orbistatBinary() { return ORBISTAT_BINARY; }
inline const char* orbistatWidgetBinary() { return ORBISTAT_WIDGET_BINARY; }

} // namespace orbistat::test
