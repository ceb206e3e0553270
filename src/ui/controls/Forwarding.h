#pragma once
// How a control hands a user's action to the laboratory's behaviour: its view runs the action
// at the catching point and then draws the new state of every control.

#include <functional>

using TForwarder = std::function<void(const std::function<void()> &Action)>;
