#include "DlgUpLoad.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <cstdio>
#include <filesystem>

#include "Dpi.h"
#include "MailJob.h"
#include "PageFramework.h"

namespace tandel {
namespace {

const QString kSendingText = QStringLiteral("皮肤正在上传中...");
const QString kSentText = QStringLiteral("      皮肤上传成功，请耐心等待官方审核结果。");
const QString kFailedText = QStringLiteral("      皮肤上传失败，请检查网络设置。");
// How often the dialog looks at the worker: the progress moves smoothly and the outcome shows
// well within a second of the end.
constexpr std::chrono::milliseconds kLookInterval{100};
constexpr int kPictureSize = 44;

int scaled(int value) {
    return CDPIEditor::Instance().ScaleValue(value);
}

QRect scaledRect(int x, int y, int width, int height) {
    return {scaled(x), scaled(y), scaled(width), scaled(height)};
}

// A disc with a tick (sent) or a cross (failed), drawn at the screen's scale.
QPixmap outcomePicture(bool sent) {
    const int size = scaled(kPictureSize);
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 44.0, size / 44.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sent ? QColor(0x2E, 0xA0, 0x4A) : QColor(0xD9, 0x3A, 0x2E));
    painter.drawEllipse(QRectF(2, 2, 40, 40));
    QPen mark(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(mark);
    painter.setBrush(Qt::NoBrush);
    if (sent) {
        QPainterPath tick;
        tick.moveTo(12, 23);
        tick.lineTo(19, 30);
        tick.lineTo(32, 15);
        painter.drawPath(tick);
    } else {
        painter.drawLine(QPointF(15, 15), QPointF(29, 29));
        painter.drawLine(QPointF(29, 15), QPointF(15, 29));
    }
    return picture;
}

}  // namespace

QString UploadPercentText(std::uint64_t done, std::uint64_t total) {
    char text[32];
    std::snprintf(text, sizeof(text), "%0.0f%%", double(done) / double(total) * 100);
    return QString::fromLatin1(text);
}

CDlgUpLoad::CDlgUpLoad(UploadServer server, QWidget* parent)
    : QDialog(parent),
      server_(std::move(server)),
      timeout_(std::chrono::seconds(30)),
      message_(
          new QLabel(QStringLiteral("皮肤上传成功，审核通过后将发布于皮肤管理的在线皮肤中"), this)),
      progress_(new QProgressBar(this)),
      percent_(new QLabel(QStringLiteral("0"), this)),
      cancel_(new QPushButton(QStringLiteral("取消"), this)),
      ok_(new QPushButton(QStringLiteral("确定"), this)),
      success_(new QLabel(this)),
      failure_(new QLabel(this)) {
    setWindowTitle(QString::fromUtf16(kEditorCaption));
    setFixedSize(scaled(440), scaled(150));
    message_->setGeometry(scaledRect(30, 22, 380, 24));
    progress_->setGeometry(scaledRect(30, 62, 320, 20));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    percent_->setGeometry(scaledRect(360, 62, 50, 20));
    cancel_->setGeometry(scaledRect(330, 110, 80, 26));
    ok_->setGeometry(cancel_->geometry());
    ok_->hide();
    success_->setPixmap(outcomePicture(true));
    failure_->setPixmap(outcomePicture(false));
    for (QLabel* picture : {success_, failure_}) {
        picture->setGeometry(scaledRect(30, 60, kPictureSize, kPictureSize));
        picture->hide();
    }
    message_->setText(kSendingText);
    connect(cancel_, &QPushButton::clicked, this, &CDlgUpLoad::OnCancel);
    connect(ok_, &QPushButton::clicked, this, &CDlgUpLoad::OnOk);
    timer_.setInterval(kLookInterval);
    connect(&timer_, &QTimer::timeout, this, &CDlgUpLoad::look);
}

CDlgUpLoad::~CDlgUpLoad() {
    stopWorker();
}

void CDlgUpLoad::StartUpload(const QString& attachment, const std::string& senderName,
                             const std::string& subject) {
    if (job_) {
        return;
    }
    result_.store(kSending);
    done_.store(false);
    job_ = std::make_unique<CMailJob>(server_, senderName, subject);
    job_->SetTimeout(timeout_);
    job_->AddAttachment(std::filesystem::path(attachment.toStdU16String()));
    job_->SetProgress([this](std::uint64_t done, std::uint64_t total) {
        total_.store(total);
        sent_.store(done);
    });
    worker_ = std::thread([this] {
        result_.store(job_->SendMail() ? kSent : kFailed);
        done_.store(true);
    });
    timer_.start();
}

CDlgUpLoad::Result CDlgUpLoad::Outcome() const {
    return Result(result_.load());
}

void CDlgUpLoad::look() {
    const std::uint64_t total = total_.load();
    if (total > 0) {
        const std::uint64_t sent = sent_.load();
        progress_->setValue(int(sent * 100 / total));
        percent_->setText(UploadPercentText(sent, total));
    }
    if (done_.load()) {
        timer_.stop();
        showOutcome();
    }
}

void CDlgUpLoad::showOutcome() {
    const bool sent = result_.load() == kSent;
    message_->setText(sent ? kSentText : kFailedText);
    (sent ? success_ : failure_)->show();
    progress_->hide();
    percent_->hide();
    message_->setGeometry(scaledRect(90, 72, 335, 30));
    cancel_->hide();
    ok_->show();
}

void CDlgUpLoad::stopWorker() {
    timer_.stop();
    if (job_) {
        job_->Cancel();
    }
    if (worker_.joinable()) {
        worker_.join();
    }
}

void CDlgUpLoad::OnCancel() {
    reject();
}

void CDlgUpLoad::OnOk() {
    stopWorker();
    accept();
}

void CDlgUpLoad::reject() {
    stopWorker();
    QDialog::reject();
}

void RunSkinUpload(QWidget* owner, const QString& file, const std::string& senderName,
                   const std::string& subject) {
    CDlgUpLoad dialog(ReadUploadServer(), owner);
    dialog.StartUpload(file, senderName, subject);
    dialog.exec();
}

}  // namespace tandel
