#pragma once

#include <QWidget>

class QComboBox;

// The controls of the colour panel (Colordlg): a picker of the named
// colours for the hints and one for the window's text.
class ColourPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ColourPanel(QWidget *parent = nullptr);

    int hintColour() const;
    int textColour() const;
    // Gives a picker its stored colour as the colour rule says.
    void restoreHintColour(int stored);
    void restoreTextColour(int stored);

signals:
    void hintColourChanged(int value);
    void textColourChanged(int value);

private:
    QComboBox *m_hint = nullptr; // Hintcolorcombo
    QComboBox *m_text = nullptr; // Textcolorcombo
};
