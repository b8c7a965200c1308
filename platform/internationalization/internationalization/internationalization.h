#ifndef INTERNATIONALIZATION_H
#define INTERNATIONALIZATION_H

// The user interface language of the client.
class Internationalization
{
public:
    static Internationalization *instance();

    bool isLangEnglish() const;

private:
    Internationalization() = default;
};

#endif
