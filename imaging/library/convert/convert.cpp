#include "convert.h"

#include "chemins.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <algorithm>
#include <array>
#include <optional>

namespace sky {

namespace {

struct ResolutionName {
    const char *option;
    Resolution resolution;
};

constexpr std::array<ResolutionName, 6> kResolutions = {{
    {"auto", Resolution::Auto},
    {"vga", Resolution::Vga},
    {"16", Resolution::Colour16},
    {"256", Resolution::Colour256},
    {"true", Resolution::True},
    {"jpeggray", Resolution::JpegGray},
}};

template <typename Table>
auto lookUp(const Table &table, const QString &option) -> std::optional<std::decay_t<decltype(*std::begin(table))>>
{
    for (const auto &entry : table)
        if (option == QLatin1String(entry.option))
            return entry;
    return std::nullopt;
}

std::optional<int> numberIn(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

const QString kProgram = QStringLiteral("vistarama-convert");

const char *const kHelp =
    "Usage : vistarama-convert --format jpg|bmp|gif|pcx|png|tif [options] --dest DOSSIER FICHIER...\n"
    "        vistarama-convert --info FICHIER...\n"
    "\n"
    "Convertit chaque FICHIER, lu en couleurs vraies, dans le DOSSIER de destination, sous le\n"
    "nom du fichier (jusqu'à son premier point) en majuscules, limité à 13 caractères, suivi de\n"
    "l'extension du format : .JPG, .BMP, .GIF, .PCX, .PNG ou .TIF. Un fichier existant est remplacé,\n"
    "sauf s'il a été écrit par la même commande : le fichier qui porterait son nom n'est pas converti.\n"
    "\n"
    "Options :\n"
    "  --format FORMAT      format des fichiers écrits : jpg, bmp, gif, pcx, png ou tif\n"
    "  --resolution RÉS     nombre de couleurs : auto (par défaut, celui de l'écran), vga,\n"
    "                       16, 256, true (couleurs vraies) ou jpeggray (JPEG en niveaux de gris)\n"
    "  --quality N          qualité JPEG, de 1 à 100 (100 par défaut)\n"
    "  --smooth N           lissage JPEG, de 0 à 100 (0 par défaut)\n"
    "  --interlace          PNG entrelacé\n"
    "  --tiff COMPRESSION   compression TIFF : none (par défaut), ccitt, lzw ou packbits\n"
    "  --dest DOSSIER       dossier de destination\n"
    "  --info               affiche les caractéristiques de chaque fichier, sans le convertir :\n"
    "                       NOM: TYPE LARGEURxHAUTEUR, BITS bits, densité N ppp (ou aucune),\n"
    "                       COULEURS couleurs, compression COMPRESSION (ou aucune)\n"
    "  --help               affiche cette aide\n"
    "\n"
    "Code de retour : 0 si tous les fichiers ont été traités, 1 si l'un d'eux a échoué,\n"
    "2 pour une erreur dans la ligne de commande.\n";

struct Command {
    bool help = false;
    bool version = false;
    bool info = false;
    bool formatGiven = false;
    QString folder;
    QStringList files;
    ConvertOptions options;
};

// Fills `command` from the arguments; returns the usage error, or "".
QString parse(const QStringList &arguments, Command &command)
{
    bool optionsOver = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsOver || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            command.files.append(argument);
            continue;
        }
        if (argument == QLatin1String("-h")) {
            command.help = true;
            continue;
        }
        if (!argument.startsWith(QLatin1String("--")))
            return QStringLiteral("option inconnue : %1").arg(argument);
        QString name = argument, value;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const bool inline_ = equals > 0;
        if (inline_) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
        }
        if (name == QLatin1String("--")) {
            optionsOver = true;
            continue;
        }
        const bool flag = name == QLatin1String("--help") || name == QLatin1String("--info") ||
                          name == QLatin1String("--interlace") || name == QLatin1String("--version");
        if (flag) {
            if (inline_)
                return QStringLiteral("l'option %1 ne prend pas de valeur").arg(name);
            command.help = command.help || name == QLatin1String("--help");
            command.version = command.version || name == QLatin1String("--version");
            command.info = command.info || name == QLatin1String("--info");
            command.options.interlaced = command.options.interlaced || name == QLatin1String("--interlace");
            continue;
        }
        static const QStringList valued = {
            QStringLiteral("--format"), QStringLiteral("--resolution"), QStringLiteral("--quality"),
            QStringLiteral("--smooth"), QStringLiteral("--tiff"),       QStringLiteral("--dest")};
        if (!valued.contains(name))
            return QStringLiteral("option inconnue : %1").arg(argument);
        if (!inline_) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("l'option %1 demande une valeur").arg(name);
            value = arguments[++i];
        }
        const QString bad = QStringLiteral("valeur incorrecte pour %1 : %2").arg(name, value);
        if (name == QLatin1String("--format")) {
            const auto format = lookUp(formats(), value);
            if (!format)
                return bad;
            command.options.format = format->format;
            command.formatGiven = true;
        } else if (name == QLatin1String("--resolution")) {
            const auto resolution = lookUp(kResolutions, value);
            if (!resolution)
                return bad;
            command.options.resolution = resolution->resolution;
        } else if (name == QLatin1String("--tiff")) {
            const auto compression = lookUp(tiffCompressions(), value);
            if (!compression)
                return bad;
            command.options.tiffCompression = compression->code;
        } else if (name == QLatin1String("--dest")) {
            if (value.isEmpty())
                return bad;
            command.folder = value;
        } else {
            const bool quality = name == QLatin1String("--quality");
            const auto number = numberIn(value, quality ? 1 : 0, 100);
            if (!number)
                return bad;
            (quality ? command.options.quality : command.options.smoothing) = *number;
        }
    }
    if (command.help || command.version)
        return {};
    if (command.files.isEmpty())
        return QStringLiteral("aucun fichier à traiter");
    if (command.info)
        return {};
    if (!command.formatGiven)
        return QStringLiteral("l'option --format est obligatoire");
    if (command.folder.isEmpty())
        return QStringLiteral("l'option --dest est obligatoire");
    return {};
}

WriteOptions writeOptions(const ConvertOptions &options)
{
    return {options.quality, options.smoothing, options.interlaced, options.tiffCompression};
}

int writeImage(const QString &path, const ConvertOptions &options, const QImage &picture)
{
    return formatRow(options.format)
        .write(path, saveDepth(options.resolution, options.format), picture, writeOptions(options), {});
}

}  // namespace

int saveDepth(Resolution resolution, Format format, int displayBits)
{
    switch (resolution) {
    case Resolution::Vga: return writeDepth(format, 0, false);
    case Resolution::Colour16: return writeDepth(format, 4, false);
    case Resolution::Colour256: return writeDepth(format, 8, false);
    case Resolution::True: return writeDepth(format, 24, false);
    case Resolution::JpegGray: return writeDepth(format, 8, true);
    case Resolution::Auto: break;
    }
    return writeDepth(format, displayBits, false);
}

QString targetName(const QString &source, Format format)
{
    return nom_de_base_converti(source) + QLatin1String(formatRow(format).extension);
}

QString targetPath(const QString &source, const QString &folder, Format format)
{
    return QDir(folder).filePath(targetName(source, format));
}

int convertFile(const QString &source, const QString &folder, const ConvertOptions &options,
                QString *written)
{
    const QString target = targetPath(source, folder, options.format);
    // JPEG to JPEG without smoothing keeps the coefficients, when the file allows it.
    if (options.format == Format::Jpeg && options.smoothing == 0) {
        const bool grey = saveDepth(options.resolution, options.format) == 1;
        if (const int status = recodeJpeg(source, target, options.quality, grey, {}); status != Unsupported) {
            if (written && succeeded(status))
                *written = target;
            return status;
        }
    }
    // True colour needs no whole picture: the rows go from the decoder to the writer.
    if (saveDepth(options.resolution, options.format) == 24) {
        if (const int status = writeStreamed(source, target, options.format, writeOptions(options), {});
            status != Unsupported) {
            if (written && succeeded(status))
                *written = target;
            return status;
        }
    }
    QImage picture;
    const int status = readAnyPicture(source, 24, false, picture, {});
    if (!succeeded(status))
        return status;
    if (written)
        *written = target;
    return writeImage(target, options, picture);
}

QString infoLine(const QString &name, const FileInfo &info)
{
    // The library names compressions in English; "None" is the only one that is not a name.
    const QString compression = info.compression == QLatin1String("None") ? QStringLiteral("aucune")
                                : info.compression == QLatin1String("Progressive JPEG")
                                    ? QStringLiteral("JPEG progressif")
                                    : info.compression;
    return QStringLiteral("%1: %2 %3x%4, %5 bits, densité %6, %7 couleurs, compression %8")
        .arg(name, info.type)
        .arg(info.width)
        .arg(info.height)
        .arg(info.bitsPerPixel)
        .arg(info.density > 0 ? QStringLiteral("%1 ppp").arg(info.density) : QStringLiteral("aucune"))
        .arg(info.colors)
        .arg(compression);
}

int runConvert(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    Command command;
    const QString usage = parse(arguments, command);
    if (!usage.isEmpty()) {
        err << kProgram << " : " << usage << "\n"
            << "Essayez « " << kProgram << " --help ».\n";
        err.flush();
        return 2;
    }
    if (command.help) {
        out << QString::fromUtf8(kHelp);
        out.flush();
        return 0;
    }
    if (command.version) {
        out << kProgram << " " VISTA_VERSION "\n";
        out.flush();
        return 0;
    }
    if (!command.info && !QFileInfo(command.folder).isDir()) {
        err << kProgram << " : dossier de destination introuvable : " << command.folder << "\n";
        err.flush();
        return 1;
    }
    bool allDone = true;
    // The files written in this run, by their absolute path, and the source of each.
    QHash<QString, QString> writtenFrom;
    for (const QString &file : std::as_const(command.files)) {
        int status = Ok;
        const QString target =
            command.info ? QString() : QFileInfo(targetPath(file, command.folder, command.options.format)).absoluteFilePath();
        if (const auto earlier = writtenFrom.constFind(target); !command.info && earlier != writtenFrom.cend()) {
            err << QStringLiteral("%1 n'est pas converti : il porterait le même nom que %2, déjà converti en %3.")
                       .arg(file, *earlier, QDir::toNativeSeparators(target))
                << "\n";
            err.flush();
            allDone = false;
            continue;
        }
        if (command.info) {
            FileInfo info;
            status = fileInfo(file, info);
            if (succeeded(status))
                out << infoLine(file, info) << "\n";
        } else {
            QString written;
            status = convertFile(file, command.folder, command.options, &written);
            if (succeeded(status)) {
                out << file << " -> " << written << "\n";
                writtenFrom.insert(target, file);
            }
        }
        if (!succeeded(status)) {
            err << file << ": " << failureText(status) << "\n";
            allDone = false;
        }
        out.flush();
        err.flush();
    }
    return allDone ? 0 : 1;
}

}  // namespace sky
