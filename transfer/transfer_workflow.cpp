#include "transfer/transfer_workflow.h"

#include "core/model_band.h"

namespace baldo7 {

namespace {
// A backup of a range is named with the radio's model: the bytes hold none of their
// own. A backup of the data keeps the model its image says.
Document namedByRadio(const Document& doc, const TransferReport& report) {
    Document named = doc;
    named.onChangeRecorded = nullptr;
    if (report.request.area != TransferArea::Data && !report.radioModel().isEmpty())
        named.ModelType = report.radioModel().toStdString();
    return named;
}
}  // namespace

QString KeepBackup(const Document& doc, const QString& folder, BackupKind kind, BackupRange range,
                   QString* error) {
    const QDateTime now = QDateTime::currentDateTime();
    const QString path = WriteBackup(doc, folder, kind, now, error, range);
    if (!path.isEmpty()) PruneBackups(folder, now);
    return path;
}

bool TransferWorkflow::backUp(WorkflowResult& result, const Document& doc, BackupKind kind,
                              BackupRange range, const QString& folder, bool beforeSending) {
    QString error;
    const QString path = KeepBackup(doc, folder, kind, range, &error);
    if (!path.isEmpty()) {
        result.backups << path;
        return true;
    }
    const bool goOn =
        hooks_.backupFailed && hooks_.backupFailed({kind, range, folder, error, beforeSending});
    if (!beforeSending || goOn) {
        result.backupFailed = true;
        return true;
    }
    result.stopped = WorkflowStop::BackupRefused;
    return false;
}

bool TransferWorkflow::keepRadio(WorkflowResult& result, const Document& doc,
                                 const TransferRequest& request, const QString& folder) {
    // A copy takes the read: the document keeps what is about to be sent.
    Document radio = doc;
    radio.onChangeRecorded = nullptr;
    result.kept =
        hooks_.exchange(radio, TransferRequest::read(request.area), ExchangePurpose::KeepRadio);
    lastRead_.reset();
    if (!result.kept->moved()) {
        result.stopped = WorkflowStop::RadioNotKept;
        return false;
    }
    if (request.area == TransferArea::Data) AnalyseModel(radio);
    return backUp(result, namedByRadio(radio, *result.kept), BackupKind::Read, request.area, folder,
                  true);
}

WorkflowResult TransferWorkflow::run(Document& doc, const TransferRequest& request,
                                     const QString& port, const WorkflowSettings& settings) {
    WorkflowResult result;
    const QString& folder = settings.backupFolder;
    const bool backups = !folder.isEmpty();
    if (!request.reading() && backups) {
        const bool alreadyKept =
            lastRead_ && lastRead_->area == request.area && lastRead_->port == port;
        const bool keep = request.area != TransferArea::Data || settings.keepRadioBeforeDataWrite;
        if (keep && !alreadyKept && !keepRadio(result, doc, request, folder)) return result;
        // Both backups of one write name the same radio.
        const Document sent = result.kept ? namedByRadio(doc, *result.kept) : doc;
        if (!backUp(result, sent, BackupKind::BeforeWrite, request.area, folder, true))
            return result;
    }
    result.report = hooks_.exchange(doc, request, ExchangePurpose::Asked);
    const bool completedRead = request.reading() && result.report->moved();
    if (completedRead)
        lastRead_ = LastRead{request.area, port};
    else
        lastRead_.reset();
    if (completedRead && backups)
        backUp(result, namedByRadio(doc, *result.report), BackupKind::Read, request.area, folder,
               false);
    return result;
}

}  // namespace baldo7
