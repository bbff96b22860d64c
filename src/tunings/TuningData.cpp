#include "tunings/TuningData.h"

#include <QString>

#include "app/EditorContext.h"
#include "app/PedalExchangeGuard.h"
#include "app/PedalSendReport.h"
#include "link/TuningDataUpload.h"
#include "platform/Dialogs.h"
#include "protocol/Tunings.h"

std::string BuildTuningData(EditorContext& context) {
    std::string text = varkunda::protocol::TuningDataText();
    context.ConsolePrint(QStringLiteral("tuning data: ") + QString::fromLatin1(text));
    return text;
}

// The table is logged even when the player then declines.
void UploadTuningData(EditorContext& context) {
    const std::string text = BuildTuningData(context);
    if (!RequireLinkedPedal(context, QStringLiteral("Uploading the tuning data"))) return;
    if (context.dialogs.askYesNo(QStringLiteral("Upload Tuning Data?")) == Dialogs::Answer::No)
        return;
    PedalExchangeGuard guard(context);
    const auto sent = varkunda::link::UploadTuningData(*context.transport, text);
    if (!sent.ok())
        ReportSendFailure(context, QStringLiteral("The tuning data was not sent"), sent);
}
