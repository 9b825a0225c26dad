#include "son.h"

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

struct SonDecode::Etat {
    AVFormatContext *format = nullptr;
    AVCodecContext *decodeur = nullptr;
    SwrContext *conversion = nullptr;
    AVPacket *paquet = av_packet_alloc();
    AVFrame *trame = av_frame_alloc();
    int flux = -1;
    bool fin_fichier = false;
    bool fin = false;
    std::vector<float> reste;  // converted samples not yet taken
    size_t pris = 0;

    ~Etat()
    {
        swr_free(&conversion);
        avcodec_free_context(&decodeur);
        avformat_close_input(&format);
        av_packet_free(&paquet);
        av_frame_free(&trame);
    }

    void convertit(const uint8_t **entree, int n)
    {
        const int place = swr_get_out_samples(conversion, n);
        if (place <= 0)
            return;
        reste.assign(size_t(place) * 2, 0.f);
        pris = 0;
        auto *sortie = reinterpret_cast<uint8_t *>(reste.data());
        const int rendus = swr_convert(conversion, &sortie, place, entree, n);
        reste.resize(size_t(std::max(rendus, 0)) * 2);
    }

    // Refills `reste`; false at the end of the sound.
    bool suite()
    {
        while (!fin) {
            const int recu = avcodec_receive_frame(decodeur, trame);
            if (recu == 0) {
                convertit(const_cast<const uint8_t **>(trame->extended_data), trame->nb_samples);
                av_frame_unref(trame);
                if (!reste.empty())
                    return true;
                continue;
            }
            if (recu == AVERROR_EOF) {
                // What the resampler still holds.
                fin = true;
                convertit(nullptr, 0);
                return !reste.empty();
            }
            if (recu != AVERROR(EAGAIN)) {
                fin = true;
                return false;
            }
            if (fin_fichier) {
                avcodec_send_packet(decodeur, nullptr);
                continue;
            }
            const int lu = av_read_frame(format, paquet);
            if (lu < 0) {
                fin_fichier = true;
                avcodec_send_packet(decodeur, nullptr);
                continue;
            }
            if (paquet->stream_index == flux)
                avcodec_send_packet(decodeur, paquet);
            av_packet_unref(paquet);
        }
        return false;
    }
};

SonDecode::SonDecode() = default;
SonDecode::~SonDecode() = default;

bool SonDecode::ouvre(const QString &chemin, QString *erreur)
{
    etat_ = std::make_unique<Etat>();
    Etat &e = *etat_;
    const auto echoue = [&](const QString &raison) {
        if (erreur)
            *erreur = raison;
        etat_.reset();
        return false;
    };
    if (avformat_open_input(&e.format, chemin.toUtf8().constData(), nullptr, nullptr) < 0)
        return echoue(QStringLiteral("Le son ne peut pas être ouvert"));
    if (avformat_find_stream_info(e.format, nullptr) < 0)
        return echoue(QStringLiteral("Le son est illisible"));
    const AVCodec *codec = nullptr;
    e.flux = av_find_best_stream(e.format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (e.flux < 0 || !codec)
        return echoue(QStringLiteral("Le fichier ne contient aucun son"));
    e.decodeur = avcodec_alloc_context3(codec);
    if (!e.decodeur || avcodec_parameters_to_context(e.decodeur, e.format->streams[e.flux]->codecpar) < 0 ||
        avcodec_open2(e.decodeur, codec, nullptr) < 0)
        return echoue(QStringLiteral("Le son ne peut pas être décodé"));
    if (e.decodeur->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&e.decodeur->ch_layout, e.decodeur->ch_layout.nb_channels);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&e.conversion, &stereo, AV_SAMPLE_FMT_FLT, FREQUENCE_SON, &e.decodeur->ch_layout,
                            e.decodeur->sample_fmt, e.decodeur->sample_rate, 0, nullptr) < 0 ||
        swr_init(e.conversion) < 0)
        return echoue(QStringLiteral("Le son ne peut pas être converti"));
    return true;
}

int SonDecode::lit(float *destination, int n)
{
    int donnes = 0;
    while (etat_ && donnes < n) {
        Etat &e = *etat_;
        if (e.pris >= e.reste.size() && !e.suite())
            break;
        const int prets = int((e.reste.size() - e.pris) / 2);
        const int k = std::min(prets, n - donnes);
        std::copy_n(e.reste.data() + e.pris, size_t(k) * 2, destination + size_t(donnes) * 2);
        e.pris += size_t(k) * 2;
        donnes += k;
    }
    return donnes;
}
