#pragma once

#include <QJsonDocument>
#include <QJsonObject>

namespace velmora::test {

/// The object a JSON text holds; an empty object when the text holds none.
inline QJsonObject jsonObject(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

/// One row of a decoding table: a JSON text and whether it decodes.
struct JsonDecodeRow
{
    const char *name;
    const char *json;
    bool decodes;
};

} // namespace velmora::test
