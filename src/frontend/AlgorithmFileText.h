#pragma once

#include <QString>

#include "protocol/AlgorithmFile.h"

// Why a .dat file is not sent, in the player's words.
QString AlgorithmFileRefusalText(const varkunda::protocol::AlgorithmFileCheck& check);
