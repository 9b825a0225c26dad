// Writes a video file through FFmpeg's libraries: H.264 and AAC in MP4, or VP9 and
// Opus in WebM for a ".webm" name. Pictures come in as drawn; a still picture is
// converted and encoded once a second of its time (each frame lasting that long),
// so that a show of still slides costs a few frames a slide, whatever the frame
// rate. The sound track comes in as interleaved stereo float samples at FREQUENCE_SON.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class EncodeurVideo {
public:
    EncodeurVideo();
    ~EncodeurVideo();
    EncodeurVideo(const EncodeurVideo &) = delete;
    EncodeurVideo &operator=(const EncodeurVideo &) = delete;

    // Writes to `fichier` in the container and codecs that `nom` (the name the
    // user gave) calls for. An empty text, else why it could not start.
    QString ouvre(const QString &fichier, const QString &nom, QSize taille, int images_par_seconde);
    // `image` (of the size given) for `fois` frames; `nouvelle_diapo`: it starts a slide.
    QString ajoute_image(const QImage &image, int fois, bool nouvelle_diapo);
    QString ajoute_son(const float *echantillons, int n);
    // Flushes the encoders and writes the file's end.
    QString termine();

    static bool nom_webm(const QString &nom);

private:
    struct Etat;
    std::unique_ptr<Etat> etat_;
};
