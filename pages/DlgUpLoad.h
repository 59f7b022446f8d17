// The upload dialog: mails a skin file to the maker on a worker thread while it shows the
// progress, then the outcome with its picture.
#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "UploadSettings.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tandel {

class CMailJob;

class CDlgUpLoad : public QDialog {
    Q_OBJECT
public:
    enum Result { kSending = 0, kSent = 1, kFailed = 2 };

    explicit CDlgUpLoad(UploadServer server, QWidget* parent = nullptr);
    // Stops the upload, if it still runs, and waits for the worker.
    ~CDlgUpLoad() override;

    // The longest wait for the server at each step.
    void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    // Starts the worker on the file; the sender's display name and the subject are in the
    // system code page. Once per dialog.
    void StartUpload(const QString& attachment, const std::string& senderName,
                     const std::string& subject);

    // The worker's outcome so far; the dialog shows it at its next look, within a second.
    Result Outcome() const;
    bool Done() const { return done_.load(); }

    void OnCancel();
    void OnOk();

    QLabel* MessageLabel() const { return message_; }
    QLabel* PercentLabel() const { return percent_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* OkButton() const { return ok_; }
    QLabel* SuccessPicture() const { return success_; }
    QLabel* FailurePicture() const { return failure_; }

protected:
    // The close box and Escape end the upload as "取消" does.
    void reject() override;

private:
    void look();
    void showOutcome();
    void stopWorker();

    UploadServer server_;
    std::chrono::milliseconds timeout_;
    QLabel* message_;
    QProgressBar* progress_;
    QLabel* percent_;
    QPushButton* cancel_;
    QPushButton* ok_;
    QLabel* success_;
    QLabel* failure_;
    QTimer timer_;

    // The worker writes only these and its job; the dialog joins it before it closes.
    std::unique_ptr<CMailJob> job_;
    std::thread worker_;
    std::atomic<int> result_{kSending};
    std::atomic<bool> done_{false};
    std::atomic<std::uint64_t> sent_{0};
    std::atomic<std::uint64_t> total_{0};
};

// The percentage label's text: no decimals, rounded as the C library rounds.
QString UploadPercentText(std::uint64_t done, std::uint64_t total);

// Runs the upload dialog modally for a skin file with the server the configuration names.
void RunSkinUpload(QWidget* owner, const QString& file, const std::string& senderName,
                   const std::string& subject);

}  // namespace tandel
