#pragma once
// The error a chart setting raises when it is given a value it cannot take.

#include <stdexcept>
#include <string>

class EChartError : public std::runtime_error {
public:
    explicit EChartError(const std::string &Message) : std::runtime_error(Message) {}
    std::string Message() const { return what(); }
};
