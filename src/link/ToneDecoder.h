#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kr31::tone {

struct Decoded
{
    int variant = 0;
    QList<int> values;
};

// Reads a transfer sound back as the lamp hears it: finds the signal variant
// from the leader, then every byte (start bit, eight bits, trailer). Samples
// at or above 0x80 count as high. nullopt (and *error set) when the samples
// are no transfer sound or break off inside a byte.
std::optional<Decoded> decode(const QByteArray &samples, QString *error = nullptr);

} // namespace kr31::tone
