#include "shell/app_style.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <functional>
#include <memory>

namespace baldo7 {

namespace {

// An icon made on first use. Everything that looks at the icon's pictures goes to
// the real icon; whether it is null is not asked of it (the platform's standard
// icons are not), so laying out a button or a menu does not make it.
class DeferredIconEngine : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override {
        icon().addPixmap(pixmap, mode, state);
    }
    void addFile(const QString& file, const QSize& size, QIcon::Mode mode,
                 QIcon::State state) override {
        icon().addFile(file, size, mode, state);
    }
    QString iconName() override { return icon().name(); }
    QString key() const override { return QStringLiteral("baldo7-deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    QIcon& icon() {
        if (make_) {
            icon_ = make_();
            make_ = nullptr;
        }
        return icon_;
    }

    std::function<QIcon()> make_;
    QIcon icon_;
};

}  // namespace

QIcon AppStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                             const QWidget* widget) const {
    // The option only lives for this call: keep what the platform style reads of it.
    std::shared_ptr<QStyleOption> kept;
    if (option) kept = std::make_shared<QStyleOption>(*option);
    QPointer<QWidget> from(const_cast<QWidget*>(widget));
    QPointer<AppStyle> self(const_cast<AppStyle*>(this));
    return QIcon(new DeferredIconEngine([self, icon, kept, from]() -> QIcon {
        if (!self) return {};
        return self->baseStyle()->standardIcon(icon, kept.get(), from.data());
    }));
}

}  // namespace baldo7
