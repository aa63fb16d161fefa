#pragma once

#include "store/RingtalError.h"

#include <QString>
#include <exception>

// The RingtalError an action raises, number and German description, so that
// a test checks the text the user reads as well as the number. Number 0 when
// the action raises nothing, -1 for any other exception.
struct RaisedError
{
    int number = 0;
    QString description;
};

template <typename Action>
RaisedError raisedError(Action &&action)
{
    try {
        action();
    } catch (const RingtalError &error) {
        return {error.number(), error.description()};
    } catch (const std::exception &error) {
        return {-1, QString::fromLocal8Bit(error.what())};
    }
    return {};
}
