#include "ui/cards/NetworkCard.h"

#include "core/NetworkInfo.h"
#include "core/SystemMonitor.h"
#include "ui/Theme.h"
#include "ui/components/Column.h"
#include "ui/components/Divider.h"
#include "ui/components/SmallButton.h"
#include "ui/components/Sparkline.h"
#include "ui/components/StatRow.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TextLabel.h"
#include "ui/components/ValueText.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

namespace {

constexpr int columnsSpacing = 12;
constexpr int columnSpacing = 4;
constexpr int labelPoints = 11;
constexpr int ratePoints = 14;
constexpr int debugPoints = 10;
constexpr int detailSpacing = 4;
constexpr double rateMinimumScale = 10000.0;  // bytes per second

// Symbol and subtitle by the kind of connection.
QString symbolFor(NetworkInfo::Kind kind)
{
    switch (kind) {
    case NetworkInfo::Kind::wifi: return QStringLiteral("wifi");
    case NetworkInfo::Kind::ethernet: return QStringLiteral("cable.connector");
    case NetworkInfo::Kind::other: return QStringLiteral("network");
    case NetworkInfo::Kind::offline: return QStringLiteral("wifi.slash");
    }
    return QStringLiteral("network");
}

// Signal strength as the fill of the Wi-Fi symbol: −90 dBm or less empty,
// −40 dBm or more full.
double signalFill(int64_t rssi)
{
    return std::clamp((static_cast<double>(rssi) + 90.0) / 50.0, 0.0, 1.0);
}

// One of the two rate columns: a caption with its arrow, the rate and its
// chart.
Column* rateColumn(const QString& caption, const QString& arrow, TextLabel* rate, Sparkline* chart)
{
    auto* column = new Column(columnSpacing);
    auto* label = new Column(3, QBoxLayout::LeftToRight);
    label->add(new SymbolView(arrow, labelPoints, ColorRole::secondary), 0, Qt::AlignVCenter);
    label->add(new TextLabel(caption, uiFont(labelPoints), ColorRole::secondary), 1, Qt::AlignVCenter);
    column->add(label);
    column->add(rate);
    column->add(chart);
    return column;
}

} // namespace

NetworkCard::NetworkCard(SystemMonitor& monitor, QWidget* parent)
    : MetricCard(tr("Network"), QStringLiteral("wifi.slash"), parent)
    , monitor_(monitor)
    , downloadRate_(new TextLabel(uiFont(ratePoints, QFont::DemiBold), ColorRole::primary))
    , uploadRate_(new TextLabel(uiFont(ratePoints, QFont::DemiBold), ColorRole::primary))
    , downloadChart_(new Sparkline)
    , uploadChart_(new Sparkline)
    , divider_(new Divider)
    , details_(new Column(detailSpacing))
    , signal_(new StatRow(tr("Signal")))
    , noise_(new StatRow(tr("Signal-to-noise")))
    , linkSpeed_(new StatRow(tr("Link speed")))
    , privacy_(new QWidget)
    , fix_(new SmallButton(tr("Fix")))
    , debug_(new TextLabel(uiFont(debugPoints), ColorRole::tertiary))
    , interface_(new StatRow(tr("Interface")))
    , address_(new StatRow(tr("IP address")))
{
    downloadChart_->setColor(ColorRole::accent);
    downloadChart_->setMinimumScale(rateMinimumScale);
    downloadChart_->setValues(&monitor_.history(MonitorHistory::download));
    downloadChart_->setAccessibleName(tr("Download history"));
    uploadChart_->setColor(ColorRole::green);
    uploadChart_->setMinimumScale(rateMinimumScale);
    uploadChart_->setValues(&monitor_.history(MonitorHistory::upload));
    uploadChart_->setAccessibleName(tr("Upload history"));
    downloadRate_->setAccessibleName(tr("Download"));
    uploadRate_->setAccessibleName(tr("Upload"));

    auto* rates = new QHBoxLayout;
    rates->setSpacing(columnsSpacing);
    rates->addWidget(rateColumn(tr("Download"), QStringLiteral("arrow.down"), downloadRate_, downloadChart_), 1);
    rates->addWidget(rateColumn(tr("Upload"), QStringLiteral("arrow.up"), uploadRate_, uploadChart_), 1);
    addContent(rates);

    auto* privacyLine = new QHBoxLayout(privacy_);
    privacyLine->setContentsMargins(0, 0, 0, 0);
    privacyLine->addWidget(new TextLabel(tr("Network name unavailable"), uiFont(labelPoints), ColorRole::secondary), 1,
                           Qt::AlignVCenter);
    privacyLine->addWidget(fix_, 0, Qt::AlignVCenter);
    connect(fix_, &QPushButton::clicked, this, [this] { monitor_.requestLocationAccess(); });

    for (QWidget* part : std::initializer_list<QWidget*>{signal_, noise_, linkSpeed_, privacy_, debug_, interface_, address_})
        details_->add(part);
    addContent(divider_);
    addContent(details_);

    connect(&monitor_, &SystemMonitor::networkChanged, this, &MetricCard::invalidate);
    connect(&monitor_, &SystemMonitor::networkInfoChanged, this, &MetricCard::invalidate);
    connect(&monitor_, &SystemMonitor::historyChanged, this, [this](MonitorHistory which) {
        if (which == MonitorHistory::download || which == MonitorHistory::upload)
            invalidate();
    });
}

void NetworkCard::refresh()
{
    const NetworkInfo& info = monitor_.networkInfo();
    const NetworkSample& rates = monitor_.network();
    setSymbol(symbolFor(info.kind));
    switch (info.kind) {
    case NetworkInfo::Kind::wifi: setSubtitle(info.ssid.value_or(QStringLiteral("Wi-Fi"))); break;
    case NetworkInfo::Kind::ethernet: setSubtitle(QStringLiteral("Ethernet")); break;
    case NetworkInfo::Kind::other: setSubtitle(info.displayName.value_or(tr("Connected"))); break;
    case NetworkInfo::Kind::offline: setSubtitle(tr("Offline")); break;
    }

    downloadRate_->setText(bytesPerSecondText(rates.download));
    uploadRate_->setText(bytesPerSecondText(rates.upload));
    downloadChart_->valuesChanged();
    uploadChart_->valuesChanged();
    downloadChart_->setValueText(downloadRate_->text());
    uploadChart_->setValueText(uploadRate_->text());

    const bool connected = info.kind != NetworkInfo::Kind::offline;
    setShown(divider_, connected);
    setShown(details_, connected);
    if (!connected)
        return;

    const bool wifi = info.kind == NetworkInfo::Kind::wifi;
    setShown(signal_, wifi && info.rssi.has_value());
    if (wifi && info.rssi) {
        signal_->setLeadingSymbol(QStringLiteral("wifi"), ColorRole::accent, signalFill(*info.rssi));
        signal_->setValue(tr("%1 dBm · %2").arg(*info.rssi).arg(signalQuality(info).value_or(QString())));
    }
    setShown(noise_, wifi && info.rssi && info.noise);
    if (wifi && info.rssi && info.noise) {
        int64_t ratio = 0;
        const bool fits = !__builtin_sub_overflow(*info.rssi, *info.noise, &ratio);
        noise_->setValue((fits ? QString::number(ratio) : QStringLiteral("–")) + QStringLiteral(" dB"));
    }
    setShown(linkSpeed_, wifi && info.linkSpeedMbps.has_value());
    if (wifi && info.linkSpeedMbps)
        linkSpeed_->setValue(wholeNumberText(*info.linkSpeedMbps) + QStringLiteral(" Mbps"));
    setShown(privacy_, wifi && info.ssidHiddenByPrivacy);
    setShown(debug_, wifi && info.debug.has_value());
    if (wifi && info.debug)
        debug_->setText(*info.debug);

    setShown(interface_, info.interface.has_value());
    if (info.interface) {
        interface_->setValue(info.displayName ? *info.displayName + QStringLiteral(" (") + *info.interface + QLatin1Char(')')
                                              : *info.interface);
    }
    setShown(address_, info.localIP.has_value());
    if (info.localIP)
        address_->setValue(*info.localIP);
}

} // namespace orbistat::ui
