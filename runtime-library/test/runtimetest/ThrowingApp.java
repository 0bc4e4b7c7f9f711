package runtimetest;

/** An application whose main fails. */
public class ThrowingApp {

    public static final IllegalStateException FAILURE =
            new IllegalStateException("application failed on purpose");

    public static void main(String[] args) {
        throw FAILURE;
    }
}
