#pragma once

#include <QJsonObject>
#include <QStringList>
#include <optional>

#include "protocol/Parameters.h"
#include "protocol/StatusReply.h"

namespace varkunda::cli {

// The status reply as the tool prints it: as lines of text and as a JSON object.
// `addresses` names the parameters the controls are assigned to, when known.
QStringList StatusLines(const protocol::StatusReply& reply, const QString& serial,
                        const std::optional<protocol::AddressTable>& addresses);
QJsonObject StatusJson(const protocol::StatusReply& reply, const QString& serial,
                       const std::optional<protocol::AddressTable>& addresses);

// One parameter: its name, raw word ("0x00400000") and what the window shows.
QJsonObject ParameterJson(std::size_t parameter, std::uint32_t value);
QString RawText(std::uint32_t value);

}  // namespace varkunda::cli
