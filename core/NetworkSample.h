// Network throughput over the counted interfaces, bytes per second.
#pragma once

namespace orbistat {

struct NetworkSample {
    double download = 0.0;
    double upload = 0.0;

    friend bool operator==(const NetworkSample&, const NetworkSample&) = default;
};

} // namespace orbistat
