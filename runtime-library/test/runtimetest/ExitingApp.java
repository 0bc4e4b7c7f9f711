package runtimetest;

/** Prints without a line end and leaves through System.exit, as applications often do. */
public class ExitingApp {

    public static void main(String[] args) {
        System.out.print("unterminated " + args.length);
        System.err.print("error before exit");
        System.exit(3);
    }
}
