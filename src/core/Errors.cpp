#include "Errors.h"

std::string MessageBoxText(const std::string &Message)
{
    if (!Message.empty() && static_cast<unsigned char>(Message.back()) > static_cast<unsigned char>('.'))
        return Message + '.';
    return Message;
}
