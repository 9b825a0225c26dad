#include "encodeur.h"

#include "son.h"

#include <algorithm>
#include <map>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

QString texte_erreur(int code)
{
    char texte[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, texte, sizeof texte);
    return QString::fromUtf8(texte);
}

}  // namespace

struct EncodeurVideo::Etat {
    AVFormatContext *sortie = nullptr;
    AVCodecContext *video = nullptr;
    AVCodecContext *audio = nullptr;
    AVStream *flux_video = nullptr;
    AVStream *flux_audio = nullptr;
    SwsContext *conversion = nullptr;
    AVFrame *image = nullptr;
    AVFrame *trame_son = nullptr;
    AVPacket *paquet = av_packet_alloc();
    std::vector<float> attente_son;  // interleaved samples short of a whole audio frame
    int64_t images = 0;
    int images_par_seconde = 25;
    qint64 convertie = 0;  // the cache key of the picture in `image`
    // How long each frame sent lasts, by its time stamp, for its packet.
    std::map<int64_t, int64_t> durees;
    int64_t echantillons = 0;
    bool en_tete = false;
    QSize taille;

    ~Etat()
    {
        if (sortie && !(sortie->oformat->flags & AVFMT_NOFILE))
            avio_closep(&sortie->pb);
        avformat_free_context(sortie);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        sws_freeContext(conversion);
        av_frame_free(&image);
        av_frame_free(&trame_son);
        av_packet_free(&paquet);
    }

    // Sends `trame` (null: the end) and writes every packet the encoder gives back.
    int envoie(AVCodecContext *codec, AVStream *flux, const AVFrame *trame)
    {
        int r = avcodec_send_frame(codec, trame);
        if (r < 0)
            return r;
        for (;;) {
            r = avcodec_receive_packet(codec, paquet);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return 0;
            if (r < 0)
                return r;
            if (codec == video) {
                if (const auto d = durees.find(paquet->pts); d != durees.end()) {
                    paquet->duration = d->second;
                    durees.erase(d);
                }
            }
            av_packet_rescale_ts(paquet, codec->time_base, flux->time_base);
            paquet->stream_index = flux->index;
            r = av_interleaved_write_frame(sortie, paquet);
            if (r < 0)
                return r;
        }
    }

    // One audio frame of `n` samples from the start of attente_son.
    int envoie_son(int n)
    {
        if (av_frame_make_writable(trame_son) < 0)
            return AVERROR(ENOMEM);
        trame_son->nb_samples = n;
        const float *source = attente_son.data();
        switch (audio->sample_fmt) {
        case AV_SAMPLE_FMT_FLTP:
            for (int c = 0; c < 2; ++c) {
                auto *canal = reinterpret_cast<float *>(trame_son->data[c]);
                for (int i = 0; i < n; ++i)
                    canal[i] = source[2 * i + c];
            }
            break;
        case AV_SAMPLE_FMT_FLT:
            std::copy_n(source, size_t(n) * 2, reinterpret_cast<float *>(trame_son->data[0]));
            break;
        default: {  // AV_SAMPLE_FMT_S16
            auto *cible = reinterpret_cast<int16_t *>(trame_son->data[0]);
            for (int i = 0; i < 2 * n; ++i)
                cible[i] = int16_t(std::clamp(source[i], -1.f, 1.f) * 32767.f);
            break;
        }
        }
        trame_son->pts = echantillons;
        echantillons += n;
        attente_son.erase(attente_son.begin(), attente_son.begin() + ptrdiff_t(n) * 2);
        return envoie(audio, flux_audio, trame_son);
    }
};

EncodeurVideo::EncodeurVideo() = default;
EncodeurVideo::~EncodeurVideo() = default;

bool EncodeurVideo::nom_webm(const QString &nom) { return nom.endsWith(QLatin1String(".webm"), Qt::CaseInsensitive); }

QString EncodeurVideo::ouvre(const QString &fichier, const QString &nom, QSize taille, int images_par_seconde)
{
    // The libraries' own reports would cover the progress bar; failures are told in French.
    av_log_set_level(AV_LOG_ERROR);
    etat_ = std::make_unique<Etat>();
    Etat &e = *etat_;
    e.taille = taille;
    e.images_par_seconde = images_par_seconde;
    const bool webm = nom_webm(nom);
    int r = avformat_alloc_output_context2(&e.sortie, nullptr, webm ? "webm" : "mp4", nullptr);
    if (r < 0)
        return QStringLiteral("Format de sortie indisponible : %1").arg(texte_erreur(r));

    const AVCodec *codec_video = avcodec_find_encoder_by_name(webm ? "libvpx-vp9" : "libx264");
    const AVCodec *codec_audio = avcodec_find_encoder_by_name(webm ? "libopus" : "aac");
    if (!codec_video || !codec_audio)
        return QStringLiteral("Encodeur %1 indisponible").arg(webm ? QStringLiteral("VP9 ou Opus") : QStringLiteral("H.264 ou AAC"));
    const bool en_tete_global = e.sortie->oformat->flags & AVFMT_GLOBALHEADER;

    e.video = avcodec_alloc_context3(codec_video);
    e.video->width = taille.width();
    e.video->height = taille.height();
    e.video->pix_fmt = AV_PIX_FMT_YUV420P;
    e.video->time_base = AVRational{1, images_par_seconde};
    e.video->framerate = AVRational{images_par_seconde, 1};
    e.video->gop_size = images_par_seconde * 10;
    if (en_tete_global)
        e.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (webm) {
        // Still pictures for the most part: the fastest settings lose little.
        av_opt_set(e.video->priv_data, "deadline", "realtime", 0);
        av_opt_set_int(e.video->priv_data, "cpu-used", 8, 0);
        av_opt_set_int(e.video->priv_data, "row-mt", 1, 0);
        av_opt_set_int(e.video->priv_data, "crf", 32, 0);
        e.video->bit_rate = 0;
    } else {
        av_opt_set(e.video->priv_data, "preset", "veryfast", 0);
        av_opt_set(e.video->priv_data, "tune", "stillimage", 0);
        // Frames a second apart: looking ahead and B-frames would gain little and
        // hold many 1080p frames in memory.
        av_opt_set(e.video->priv_data, "x264-params", "rc-lookahead=0:sync-lookahead=0:bframes=0", 0);
        av_opt_set_int(e.video->priv_data, "crf", 20, 0);
    }
    if ((r = avcodec_open2(e.video, codec_video, nullptr)) < 0)
        return QStringLiteral("L'encodeur vidéo ne démarre pas : %1").arg(texte_erreur(r));

    e.audio = avcodec_alloc_context3(codec_audio);
    e.audio->sample_rate = FREQUENCE_SON;
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&e.audio->ch_layout, &stereo);
    e.audio->sample_fmt = AV_SAMPLE_FMT_NONE;
    for (const AVSampleFormat *f = codec_audio->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == AV_SAMPLE_FMT_FLTP || *f == AV_SAMPLE_FMT_FLT || *f == AV_SAMPLE_FMT_S16) {
            e.audio->sample_fmt = *f;
            break;
        }
    if (e.audio->sample_fmt == AV_SAMPLE_FMT_NONE)
        return QStringLiteral("L'encodeur du son n'accepte aucun format connu");
    e.audio->bit_rate = webm ? 128000 : 160000;
    e.audio->time_base = AVRational{1, FREQUENCE_SON};
    if (en_tete_global)
        e.audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((r = avcodec_open2(e.audio, codec_audio, nullptr)) < 0)
        return QStringLiteral("L'encodeur du son ne démarre pas : %1").arg(texte_erreur(r));

    e.flux_video = avformat_new_stream(e.sortie, nullptr);
    e.flux_audio = avformat_new_stream(e.sortie, nullptr);
    if (!e.flux_video || !e.flux_audio)
        return QStringLiteral("Mémoire insuffisante");
    e.flux_video->time_base = e.video->time_base;
    e.flux_audio->time_base = e.audio->time_base;
    avcodec_parameters_from_context(e.flux_video->codecpar, e.video);
    avcodec_parameters_from_context(e.flux_audio->codecpar, e.audio);

    e.image = av_frame_alloc();
    e.image->format = e.video->pix_fmt;
    e.image->width = taille.width();
    e.image->height = taille.height();
    e.trame_son = av_frame_alloc();
    e.trame_son->format = e.audio->sample_fmt;
    e.trame_son->sample_rate = FREQUENCE_SON;
    av_channel_layout_copy(&e.trame_son->ch_layout, &stereo);
    e.trame_son->nb_samples = e.audio->frame_size > 0 ? e.audio->frame_size : 1024;
    if (av_frame_get_buffer(e.image, 0) < 0 || av_frame_get_buffer(e.trame_son, 0) < 0)
        return QStringLiteral("Mémoire insuffisante");
    e.conversion = sws_getContext(taille.width(), taille.height(), AV_PIX_FMT_BGRA, taille.width(), taille.height(),
                                  AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!e.conversion)
        return QStringLiteral("Conversion des couleurs indisponible");

    if ((r = avio_open(&e.sortie->pb, fichier.toUtf8().constData(), AVIO_FLAG_WRITE)) < 0)
        return QStringLiteral("Le fichier ne peut pas être créé : %1").arg(texte_erreur(r));
    if ((r = avformat_write_header(e.sortie, nullptr)) < 0)
        return QStringLiteral("L'en-tête du fichier ne peut pas être écrit : %1").arg(texte_erreur(r));
    e.en_tete = true;
    return {};
}

QString EncodeurVideo::ajoute_image(const QImage &image, int fois, bool nouvelle_diapo)
{
    Etat &e = *etat_;
    if (image.size() != e.taille)
        return QStringLiteral("Image de taille inattendue");
    // The picture already converted, when it comes again.
    if (image.cacheKey() != e.convertie) {
        // The encoder may still hold the previous picture: a new buffer then.
        if (av_frame_make_writable(e.image) < 0)
            return QStringLiteral("Mémoire insuffisante");
        const QImage bgra = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                                ? image
                                : image.convertToFormat(QImage::Format_RGB32);
        const uint8_t *source[1] = {bgra.constBits()};
        const int pas[1] = {int(bgra.bytesPerLine())};
        sws_scale(e.conversion, source, pas, 0, bgra.height(), e.image->data, e.image->linesize);
        e.convertie = image.cacheKey();
    }
    // A slide starts on a key frame, where a player can seek to; a still picture is
    // sent once a second, each frame lasting until the next one.
    e.image->pict_type = nouvelle_diapo ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    for (int i = 0; i < fois; i += e.images_par_seconde) {
        e.image->pts = e.images + i;
        e.durees[e.image->pts] = std::min(e.images_par_seconde, fois - i);
        if (const int r = e.envoie(e.video, e.flux_video, e.image); r < 0)
            return QStringLiteral("L'encodage de l'image a échoué : %1").arg(texte_erreur(r));
        e.image->pict_type = AV_PICTURE_TYPE_NONE;
    }
    e.images += fois;
    return {};
}

QString EncodeurVideo::ajoute_son(const float *echantillons, int n)
{
    Etat &e = *etat_;
    e.attente_son.insert(e.attente_son.end(), echantillons, echantillons + size_t(n) * 2);
    const int taille_trame = e.trame_son->nb_samples;
    while (e.attente_son.size() >= size_t(taille_trame) * 2)
        if (const int r = e.envoie_son(taille_trame); r < 0)
            return QStringLiteral("L'encodage du son a échoué : %1").arg(texte_erreur(r));
    return {};
}

QString EncodeurVideo::termine()
{
    Etat &e = *etat_;
    int r = 0;
    if (!e.attente_son.empty())
        r = e.envoie_son(int(e.attente_son.size() / 2));
    if (r >= 0)
        r = e.envoie(e.audio, e.flux_audio, nullptr);
    if (r >= 0)
        r = e.envoie(e.video, e.flux_video, nullptr);
    if (r >= 0)
        r = av_write_trailer(e.sortie);
    if (r >= 0 && !(e.sortie->oformat->flags & AVFMT_NOFILE))
        r = avio_closep(&e.sortie->pb);
    if (r < 0)
        return QStringLiteral("La fin du fichier ne peut pas être écrite : %1").arg(texte_erreur(r));
    return {};
}
