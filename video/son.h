// A sound file decoded a little at a time into the video's sound track format:
// interleaved stereo float samples at FREQUENCE_SON, whatever the file holds.
#pragma once

#include <QString>
#include <memory>

constexpr int FREQUENCE_SON = 48000;

class SonDecode {
public:
    SonDecode();
    ~SonDecode();
    SonDecode(const SonDecode &) = delete;
    SonDecode &operator=(const SonDecode &) = delete;

    // False, with the reason in `erreur`, when the file holds no sound that can be decoded.
    bool ouvre(const QString &chemin, QString *erreur = nullptr);
    // Up to `n` stereo samples into `destination` (2 n floats); fewer only at the end.
    int lit(float *destination, int n);

private:
    struct Etat;
    std::unique_ptr<Etat> etat_;
};
