#include "ErrorDetail.h"

#include "Messages.h"
#include "PortNames.h"

#include <QDir>
#include <QFileInfo>

namespace zyrk {

namespace {

const TextRow kDevice{"Zařízení: %1", "Device: %1", "Gerät: %1"};
const TextRow kFile{"Soubor: %1", "File: %1", "Datei: %1"};
const TextRow kSystem{"Systém: %1", "System: %1", "System: %1"};
const TextRow kNotFound{
    "Zařízení neexistuje: převodník není připojen, nebo má port jiné jméno.",
    "The device does not exist: the adapter is not plugged in, or the port has another name.",
    "Das Gerät existiert nicht: der Adapter ist nicht angeschlossen, oder die Schnittstelle "
    "heißt anders."};
const TextRow kPermission{"Přístup k zařízení je odepřen.",
                          "Permission to use the device is denied.",
                          "Der Zugriff auf das Gerät ist nicht erlaubt."};
const TextRow kDialoutHint{
    "Přidejte svého uživatele do skupiny dialout (sudo usermod -aG dialout $USER), pak se "
    "odhlaste a znovu přihlaste.",
    "Add your user to the dialout group (sudo usermod -aG dialout $USER), then log out and "
    "in again.",
    "Fügen Sie Ihren Benutzer der Gruppe dialout hinzu (sudo usermod -aG dialout $USER) und "
    "melden Sie sich danach neu an."};
const TextRow kBusy{
    "Port je obsazen: používá ho jiný program. Zavřete ho a zvolte port znovu.",
    "The port is busy: another program is using it. Close that program and choose the port "
    "again.",
    "Die Schnittstelle ist belegt: ein anderes Programm benutzt sie. Schließen Sie es und "
    "wählen Sie die Schnittstelle erneut."};
const TextRow kOther{"Port nelze otevřít.", "The port could not be opened.",
                     "Die Schnittstelle lässt sich nicht öffnen."};
const TextRow kDamaged{
    "Soubor se otevřel, ale není to úplný soubor parametrů: chybí hodnota nebo není číslem.",
    "The file opened but is not a complete parameter file: a value is missing or is not a "
    "number.",
    "Die Datei ließ sich öffnen, ist aber keine vollständige Parameterdatei: ein Wert fehlt "
    "oder ist keine Zahl."};
const TextRow kSearching{"Hledám jednotku na %1", "Looking for the unit on %1",
                         "Suche das Gerät an %1"};

// Joined, not formatted: a '%' in a path or a system text must stay as it is.
QString Fill(const TextRow& row, int language, const QString& value) {
    const QString form = row.In(language);
    const qsizetype at = form.indexOf(QLatin1String("%1"));
    return at < 0 ? form : form.left(at) + value + form.mid(at + 2);
}

} // namespace

PortError ClassifyOpenError(QSerialPort::SerialPortError error, bool deviceAccessible,
                            Platform platform) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortError::NotFound;
    case QSerialPort::PermissionError:
        if (platform == Platform::Windows || deviceAccessible)
            return PortError::Busy;
        return PortError::PermissionDenied;
    case QSerialPort::OpenError: // already open through this very object
        return PortError::Busy;
    default:
        return PortError::Other;
    }
}

PortOpenFailure DescribeOpenFailure(QSerialPort::SerialPortError error, const QString& systemText,
                                    const QString& path) {
    const QFileInfo device(path);
    const bool accessible = device.exists() && device.isReadable() && device.isWritable();
    return {ClassifyOpenError(error, accessible), systemText};
}

QString PortOpenDetail(const QString& path, const PortOpenFailure& failure, int language,
                       Platform platform) {
    QStringList lines{Fill(kDevice, language, QDir::toNativeSeparators(path))};
    switch (failure.kind) {
    case PortError::NotFound:
        lines << kNotFound.In(language);
        break;
    case PortError::PermissionDenied:
        lines << kPermission.In(language);
        if (platform == Platform::Unix)
            lines << kDialoutHint.In(language);
        break;
    case PortError::Busy:
        lines << kBusy.In(language);
        break;
    case PortError::None:
    case PortError::Other:
        lines << kOther.In(language);
        break;
    }
    if (!failure.systemText.isEmpty())
        lines << Fill(kSystem, language, failure.systemText);
    return lines.join(QLatin1Char('\n'));
}

QString FileErrorDetail(const QString& path, const QString& systemText, bool damaged,
                        int language) {
    QStringList lines{Fill(kFile, language, QDir::toNativeSeparators(path))};
    if (damaged)
        lines << kDamaged.In(language);
    else if (!systemText.isEmpty())
        lines << Fill(kSystem, language, systemText);
    return lines.join(QLatin1Char('\n'));
}

QString SearchingText(int n, const QString& path, int language) {
    // The port as the Com menu names it, and the device behind it where that differs.
    const QString com = PortNames::ComPath(n).mid(4);
    QString where = com;
    if (!path.isEmpty() && path != PortNames::ComPath(n))
        where += QStringLiteral(" (") + path + QLatin1Char(')');
    return Fill(kSearching, language, where);
}

} // namespace zyrk
