#include "animation.h"

#include "TMultiP.h"

AnimationIdle::AnimationIdle(QObject *parent) : QObject(parent)
{
    timer_.setInterval(kIntervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (target_)
            target_->AnimateStep();
        else
            timer_.stop();
    });
}

void AnimationIdle::attach(TPMultiImage *target)
{
    detach();
    target_ = target;
    if (!target)
        return;
    connection_ = connect(target, &TPMultiImage::AnimationChanged, this, &AnimationIdle::follow);
    // A control that goes away stops the ticks at once, not at the next tick.
    destruction_ = connect(target, &QObject::destroyed, this, &AnimationIdle::detach);
    follow(target->IsAnimating());
}

void AnimationIdle::detach()
{
    disconnect(connection_);
    disconnect(destruction_);
    target_ = nullptr;
    timer_.stop();
}

void AnimationIdle::follow(bool playing)
{
    if (playing)
        timer_.start();
    else
        timer_.stop();
}
