package com.tarvo.runtime;

import java.awt.AlphaComposite;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics2D;
import java.awt.GraphicsEnvironment;
import java.awt.RenderingHints;
import java.awt.SplashScreen;

/**
 * The status and version lines over the runtime's own splash screen (java.awt.SplashScreen),
 * which the launcher shows instead of its native window when so configured. AWT is touched only
 * after the launcher handed over a layout, so applications without it never load AWT from here.
 * Nothing here throws: a missing, closed or headless splash just means nothing is drawn.
 */
final class AwtSplash {

    /** Used when a configured colour cannot be read. */
    static final int FALLBACK_RGB = 0x000000;
    /** Windows' logical resolution, which the native window's point sizes assume. */
    private static final int POINTS_TO_PIXELS_NUM = 96;
    private static final int POINTS_TO_PIXELS_DEN = 72;
    private static final int DEFAULT_POINTS = 8;
    private static final int BOLD_FROM_WEIGHT = 600;

    /** One line of text with its place and look, as the launcher configures it. */
    static final class TextLine {
        final String text;
        final int x;
        final int y;
        final int rgb;
        final int points;
        final int weight;

        TextLine(String text, int x, int y, String colour, int points, int weight) {
            this(text, x, y, parseColour(colour), points, weight);
        }

        private TextLine(String text, int x, int y, int rgb, int points, int weight) {
            this.text = text == null ? "" : text;
            this.x = x;
            this.y = y;
            this.rgb = rgb;
            this.points = points;
            this.weight = weight;
        }

        TextLine withText(String newText) {
            return new TextLine(newText, x, y, rgb, points, weight);
        }
    }

    private static boolean configured;
    private static boolean drawing;
    private static TextLine status;
    private static TextLine version;

    private AwtSplash() {
    }

    static synchronized void configure(boolean splashInUse, boolean drawTexts, TextLine statusLine,
            TextLine versionLine) {
        configured = splashInUse;
        drawing = splashInUse && drawTexts;
        status = statusLine;
        version = versionLine;
        render();
    }

    static synchronized void setStatusText(String text) {
        if (!configured || status == null) {
            return;
        }
        status = status.withText(text);
        render();
    }

    static synchronized void close() {
        if (!configured) {
            return;
        }
        try {
            SplashScreen splash = showingSplash();
            if (splash != null) {
                splash.close();
            }
        } catch (RuntimeException | LinkageError e) {
            // Closed meanwhile, or a runtime without AWT: nothing is showing then.
        }
    }

    private static SplashScreen showingSplash() {
        if (GraphicsEnvironment.isHeadless()) {
            return null;
        }
        SplashScreen splash = SplashScreen.getSplashScreen();
        return splash != null && splash.isVisible() ? splash : null;
    }

    private static void render() {
        if (!drawing) {
            return;
        }
        try {
            SplashScreen splash = showingSplash();
            if (splash == null) {
                return;
            }
            Graphics2D g = splash.createGraphics();
            try {
                Dimension size = splash.getSize();
                // The overlay keeps what was drawn before; clear it so a new status replaces the old.
                g.setComposite(AlphaComposite.Clear);
                g.fillRect(0, 0, size.width, size.height);
                g.setComposite(AlphaComposite.SrcOver);
                g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING,
                        RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
                draw(g, status);
                draw(g, version);
            } finally {
                g.dispose();
            }
            splash.update();
        } catch (RuntimeException | LinkageError e) {
            // The splash closed between the check and the drawing, or AWT is unavailable.
        }
    }

    private static void draw(Graphics2D g, TextLine line) {
        if (line == null || line.text.isEmpty()) {
            return;
        }
        int points = line.points > 0 ? line.points : DEFAULT_POINTS;
        int pixels = (points * POINTS_TO_PIXELS_NUM + POINTS_TO_PIXELS_DEN / 2) / POINTS_TO_PIXELS_DEN;
        int style = line.weight >= BOLD_FROM_WEIGHT ? Font.BOLD : Font.PLAIN;
        g.setFont(new Font(Font.SANS_SERIF, style, pixels));
        g.setColor(new Color(line.rgb));
        FontMetrics metrics = g.getFontMetrics();
        // The native window places a line by the top of its text; Java draws at the baseline.
        g.drawString(line.text, line.x, line.y + metrics.getAscent());
    }

    /**
     * Reads "r,g,b" (decimal, spaces allowed) into 0xRRGGBB. Components beyond 0..255 are
     * clamped; anything else unreadable gives {@link #FALLBACK_RGB}.
     */
    static int parseColour(String text) {
        if (text == null) {
            return FALLBACK_RGB;
        }
        String[] parts = text.split(",", -1);
        if (parts.length != 3) {
            return FALLBACK_RGB;
        }
        int rgb = 0;
        for (String part : parts) {
            int value;
            try {
                value = Integer.parseInt(part.trim());
            } catch (NumberFormatException e) {
                return FALLBACK_RGB;
            }
            rgb = (rgb << 8) | Math.max(0, Math.min(255, value));
        }
        return rgb;
    }
}
